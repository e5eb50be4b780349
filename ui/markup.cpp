#include "ui/markup.h"

#include <pango/pango.h>

#include <algorithm>

#include "ui/attribute_values.h"
#include "ui/pango_font.h"
#include "platform/utf8.h"

namespace ui {
namespace {

// Deeper nesting is garbage; further opening tags are dropped.
constexpr size_t kMaxDepth = 64;

// An open tag. Tags whose value is unusable (`{c #@!Theme#@!}`) stay open
// without effect, so their closing tag still matches them.
struct OpenTag {
  wchar_t name;
  std::optional<int> font;
  std::optional<Color> color;
  int link = -1;
};

// The style the open tags give the text that follows (offsets unset).
MarkupText::Run Resolve(const std::vector<OpenTag>& stack) {
  MarkupText::Run s;
  for (const OpenTag& tag : stack) {
    switch (tag.name) {
      case L'f': if (tag.font) s.font = *tag.font; break;
      case L'b': s.bold = true; break;
      case L'i': s.italic = true; break;
      case L'u': s.underline = true; break;
      case L'c': if (tag.color) s.color = tag.color; break;
      // A link is drawn in the link colour unless a colour is set inside it.
      case L'a': s.link = tag.link; s.color.reset(); break;
      default: break;
    }
  }
  return s;
}

bool SameStyle(const MarkupText::Run& a, const MarkupText::Run& b) {
  return a.font == b.font && a.bold == b.bold && a.italic == b.italic &&
         a.underline == b.underline && a.color == b.color && a.link == b.link;
}

class Parser {
 public:
  MarkupText Parse(std::wstring_view source) {
    constexpr size_t npos = std::wstring_view::npos;
    size_t i = 0;
    while (i < source.size()) {
      if (source[i] != L'{') {
        const size_t next = std::min(source.find(L'{', i), source.size());
        Emit(source.substr(i, next - i));
        i = next;
        continue;
      }
      const size_t close = source.find(L'}', i + 1);
      const size_t reopen = source.find(L'{', i + 1);
      const bool closed = close != npos && close < reopen;
      if (closed && Tag(source.substr(i + 1, close - i - 1))) {
        i = close + 1;
        continue;
      }
      // Not a tag we know: drawn as it stands.
      const size_t stop = closed ? close + 1 : std::min(reopen, source.size());
      Emit(source.substr(i, stop - i));
      i = stop;
    }
    // Links left open end with the text.
    for (const OpenTag& tag : stack_) {
      if (tag.name == L'a') CloseLink(tag.link);
    }
    return std::move(out_);
  }

 private:
  // Applies a tag; false when it is not one (and must be drawn as text).
  bool Tag(std::wstring_view body) {
    const bool closing = !body.empty() && body.front() == L'/';
    if (closing) body.remove_prefix(1);
    const size_t space = body.find(L' ');
    const std::wstring_view name = body.substr(0, space);
    std::wstring_view arg = space == std::wstring_view::npos ? L"" : body.substr(space + 1);
    while (!arg.empty() && arg.front() == L' ') arg.remove_prefix(1);
    while (!arg.empty() && arg.back() == L' ') arg.remove_suffix(1);
    if (name.size() != 1 || std::wstring_view(L"fcaubinp").find(name[0]) == std::wstring_view::npos) {
      return false;
    }
    const wchar_t tag = name[0];
    if (closing) {
      Close(tag);
    } else if (tag == L'n') {
      Emit(L"\n");
    } else {
      Open(tag, arg);
    }
    return true;
  }

  void Open(wchar_t tag, std::wstring_view arg) {
    if (tag == L'p') BreakLine();
    if (stack_.size() >= kMaxDepth) return;
    OpenTag open{tag, std::nullopt, std::nullopt, -1};
    if (tag == L'f') open.font = ParseInt(platform::ToUtf8(arg));
    if (tag == L'c') open.color = ParseColor(platform::ToUtf8(arg));
    if (tag == L'a') {
      open.link = static_cast<int>(out_.links.size());
      out_.links.push_back({out_.text.size(), out_.text.size(), std::wstring(arg)});
    }
    stack_.push_back(open);
    style_ = Resolve(stack_);
  }

  // Closes the innermost open tag of that name; a closing tag without one is
  // ignored. Tags opened inside it stay open.
  void Close(wchar_t tag) {
    for (size_t k = stack_.size(); k-- > 0;) {
      if (stack_[k].name != tag) continue;
      if (tag == L'a') CloseLink(stack_[k].link);
      if (tag == L'p') pending_break_ = true;
      stack_.erase(stack_.begin() + static_cast<std::ptrdiff_t>(k));
      style_ = Resolve(stack_);
      return;
    }
  }

  void CloseLink(int index) {
    MarkupText::Link& link = out_.links[static_cast<size_t>(index)];
    link.end = out_.text.size();
    if (link.target.empty()) {
      link.target = platform::FromUtf8(std::string_view(out_.text).substr(link.start, link.end - link.start));
    }
  }

  // Starts a new line unless the text is empty or already at a line start.
  void BreakLine() {
    pending_break_ = false;
    if (!out_.text.empty() && out_.text.back() != '\n') Append(L"\n");
  }

  void Emit(std::wstring_view text) {
    if (text.empty()) return;
    if (pending_break_) BreakLine();
    Append(text);
  }

  void Append(std::wstring_view text) {
    const size_t start = out_.text.size();
    out_.text += platform::ToUtf8(text);
    MarkupText::Run run = style_;
    run.start = start;
    run.end = out_.text.size();
    if (!out_.runs.empty() && SameStyle(out_.runs.back(), run)) {
      out_.runs.back().end = run.end;
    } else {
      out_.runs.push_back(run);
    }
  }

  MarkupText out_;
  std::vector<OpenTag> stack_;
  MarkupText::Run style_;
  bool pending_break_ = false;
};

guint16 Channel(double value) { return static_cast<guint16>(value * 65535.0 + 0.5); }

void Insert(PangoAttrList* list, PangoAttribute* attr, const MarkupText::Run& run) {
  attr->start_index = static_cast<guint>(run.start);
  attr->end_index = static_cast<guint>(run.end);
  pango_attr_list_insert(list, attr);
}

}  // namespace

MarkupText ParseMarkup(std::wstring_view source) { return Parser().Parse(source); }

PangoAttrList* CreatePangoAttributes(const MarkupText& markup, const FontTable& fonts,
                                     Color link_color, Color link_hover_color,
                                     int hot_link) {
  PangoAttrList* list = pango_attr_list_new();
  for (const MarkupText::Run& run : markup.runs) {
    const auto font = fonts.find(run.font);
    if (run.font >= 0 && font != fonts.end()) {
      PangoFontDescription* desc = CreateFontDescription(font->second);
      Insert(list, pango_attr_font_desc_new(desc), run);
      pango_font_description_free(desc);
      if (font->second.underline) Insert(list, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE), run);
    }
    if (run.bold) Insert(list, pango_attr_weight_new(PANGO_WEIGHT_BOLD), run);
    if (run.italic) Insert(list, pango_attr_style_new(PANGO_STYLE_ITALIC), run);
    if (run.underline) Insert(list, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE), run);
    std::optional<Color> color = run.color;
    if (!color && run.link >= 0) color = run.link == hot_link ? link_hover_color : link_color;
    if (color) {
      Insert(list,
             pango_attr_foreground_new(Channel(ColorRed(*color)), Channel(ColorGreen(*color)),
                                       Channel(ColorBlue(*color))),
             run);
      Insert(list, pango_attr_foreground_alpha_new(Channel(ColorAlpha(*color))), run);
    }
  }
  return list;
}

}  // namespace ui
