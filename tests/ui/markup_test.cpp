#include <gtest/gtest.h>
#include <pango/pango.h>

#include <functional>
#include <random>

#include "tests/ui/test_support.h"
#include "ui/markup.h"
#include "ui/paint_manager.h"
#include "ui/text_layout.h"
#include "platform/utf8.h"

namespace {

using StyledRun = ui::MarkupText::Run;

StyledRun Plain(size_t start, size_t end) {
  StyledRun run;
  run.start = start;
  run.end = end;
  return run;
}

StyledRun With(size_t start, size_t end, const std::function<void(StyledRun&)>& change) {
  StyledRun run = Plain(start, end);
  change(run);
  return run;
}

struct MarkupCase {
  const wchar_t* source;
  std::string text;
  std::vector<StyledRun> runs;
};

std::string Describe(const std::vector<StyledRun>& runs) {
  std::string out;
  for (const StyledRun& r : runs) {
    out += "[" + std::to_string(r.start) + "," + std::to_string(r.end) + " f" +
           std::to_string(r.font) + (r.bold ? " b" : "") + (r.italic ? " i" : "") +
           (r.underline ? " u" : "") + (r.color ? " c" : "") + " l" + std::to_string(r.link) + "]";
  }
  return out;
}

TEST(MarkupTest, TagsBecomeRunsAndPlainText) {
  const MarkupCase cases[] = {
      {L"plain", "plain", {Plain(0, 5)}},
      {L"", "", {}},
      {L"{b}bold{/b} x", "bold x", {With(0, 4, [](StyledRun& r) { r.bold = true; }), Plain(4, 6)}},
      {L"{f 1}{c #FF0000}red{/c}{/f}", "red",
       {With(0, 3, [](StyledRun& r) { r.font = 1; r.color = 0xFFFF0000; })}},
      {L"{c #@!ThemeColor#@!}x{/c}y", "xy", {Plain(0, 2)}},
      {L"{x}y", "{x}y", {Plain(0, 4)}},
      {L"{/b}a{/f}", "a", {Plain(0, 1)}},
      {L"a{n}b{n}{/n}c", "a\nb\nc", {Plain(0, 5)}},
      {L"{p}one{/p}{p}two{/p}", "one\ntwo", {Plain(0, 7)}},
      {L"{b}unclosed", "unclosed", {With(0, 8, [](StyledRun& r) { r.bold = true; })}},
      {L"{b}{i}x{/b}y{/i}", "xy",
       {With(0, 1, [](StyledRun& r) { r.bold = r.italic = true; }), With(1, 2, [](StyledRun& r) { r.italic = true; })}},
      {L"{u}é{/u}", "\xC3\xA9", {With(0, 2, [](StyledRun& r) { r.underline = true; })}},
      {L"{f abc}x{/f}", "x", {Plain(0, 1)}},
      {L"{", "{", {Plain(0, 1)}},
      {L"}{", "}{", {Plain(0, 2)}},
      {L"{{b}x", "{x", {Plain(0, 1), With(1, 2, [](StyledRun& r) { r.bold = true; })}},
      {L"{b", "{b", {Plain(0, 2)}},
      {L"{c #00FF00}{a}in{/a}{/c}", "in", {With(0, 2, [](StyledRun& r) { r.link = 0; })}},
      {L"{a}{c #00FF00}in{/c}{/a}", "in",
       {With(0, 2, [](StyledRun& r) { r.link = 0; r.color = 0xFF00FF00; })}},
  };
  for (const MarkupCase& c : cases) {
    const ui::MarkupText m = ui::ParseMarkup(c.source);
    EXPECT_EQ(m.text, c.text) << platform::ToUtf8(c.source);
    EXPECT_EQ(m.runs, c.runs) << platform::ToUtf8(c.source) << ": " << Describe(m.runs);
  }
}

TEST(MarkupTest, LinksHaveRangesAndTargets) {
  const ui::MarkupText m = ui::ParseMarkup(
      L"{f 1}{c #000000}I've read and agreed{/c}{/f} "
      L"{f 1}{a}{u}{c #@!ThemeColor#@!}#@!BrandName#@! License Agreement{/c}{/u}{/a}{/f}"
      L" and {a https://example.com/p}policy");
  EXPECT_EQ(m.text, "I've read and agreed #@!BrandName#@! License Agreement and policy");
  ASSERT_EQ(m.links.size(), 2u);
  EXPECT_EQ(m.text.substr(m.links[0].start, m.links[0].end - m.links[0].start),
            "#@!BrandName#@! License Agreement");
  EXPECT_EQ(m.links[0].target, L"#@!BrandName#@! License Agreement") << "no target: the text";
  EXPECT_EQ(m.links[1].target, L"https://example.com/p");
  EXPECT_EQ(m.links[1].end, m.text.size()) << "an unclosed link ends with the text";
  // The link part: font 1, underlined, no explicit colour (the bad one is ignored).
  const StyledRun* link_run = nullptr;
  for (const StyledRun& r : m.runs) {
    if (r.link == 0) link_run = &r;
  }
  ASSERT_NE(link_run, nullptr);
  EXPECT_EQ(link_run->font, 1);
  EXPECT_TRUE(link_run->underline);
  EXPECT_FALSE(link_run->color);
}

// The colour pango uses at a byte offset, as 0xRRGGBB, or -1 for none.
long ForegroundAt(PangoAttrList* list, size_t index) {
  PangoAttrIterator* it = pango_attr_list_get_iterator(list);
  long color = -1;
  do {
    int start = 0, end = 0;
    pango_attr_iterator_range(it, &start, &end);
    if (static_cast<int>(index) < start || static_cast<int>(index) >= end) continue;
    if (auto* attr = reinterpret_cast<PangoAttrColor*>(
            pango_attr_iterator_get(it, PANGO_ATTR_FOREGROUND))) {
      color = ((attr->color.red >> 8) << 16) | ((attr->color.green >> 8) << 8) | (attr->color.blue >> 8);
    }
  } while (pango_attr_iterator_next(it));
  pango_attr_iterator_destroy(it);
  return color;
}

TEST(MarkupTest, PangoAttributesCarryColoursAndLinkStates) {
  const ui::MarkupText m = ui::ParseMarkup(L"{c #FF0000}r{/c}{a}L{/a}{a}M{/a}n");
  ui::FontTable fonts;
  for (int hot : {-1, 1}) {
    PangoAttrList* list = ui::CreatePangoAttributes(m, fonts, 0xFF0000FF, 0xFF00FF00, hot);
    EXPECT_EQ(ForegroundAt(list, 0), 0xFF0000);
    EXPECT_EQ(ForegroundAt(list, 1), 0x0000FF) << "link colour";
    EXPECT_EQ(ForegroundAt(list, 2), hot == 1 ? 0x00FF00 : 0x0000FF) << "hovered link";
    EXPECT_EQ(ForegroundAt(list, 3), -1) << "the control's colour";
    pango_attr_list_unref(list);
  }
}

TEST(MarkupTest, GarbageNeverBreaksTheInvariants) {
  const std::wstring alphabet = L"{}/fcaubinp #0123456789ABCDEFx\u00e9\U0001F600";
  std::mt19937 random(12345);
  ui::PaintManager manager;
  manager.AddFont(1, ui::Font{});
  ui::TextStyle style;
  style.show_html = true;
  style.multiline = true;
  for (int round = 0; round < 2000; ++round) {
    std::wstring source(random() % 120, L' ');
    for (wchar_t& ch : source) ch = alphabet[random() % alphabet.size()];
    const ui::MarkupText m = ui::ParseMarkup(source);
    size_t expected_start = 0;
    for (const StyledRun& r : m.runs) {
      ASSERT_EQ(r.start, expected_start) << platform::ToUtf8(source);
      ASSERT_LT(r.start, r.end);
      ASSERT_LT(r.link, static_cast<int>(m.links.size()));
      expected_start = r.end;
    }
    ASSERT_EQ(expected_start, m.text.size()) << platform::ToUtf8(source);
    for (const auto& link : m.links) {
      ASSERT_LE(link.start, link.end);
      ASSERT_LE(link.end, m.text.size());
    }
    const ui::TextLayout layout(manager, source, style, ui::Rect{0, 0, 200, 60}, 0);
    layout.LinkAt(5, 5);
  }
}

}  // namespace
