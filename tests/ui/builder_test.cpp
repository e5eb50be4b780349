#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "tests/ui/test_support.h"
#include "ui/attribute_values.h"
#include "ui/builder.h"
#include "ui/check_box.h"
#include "ui/combo.h"
#include "ui/label.h"
#include "ui/option.h"
#include "ui/paint_manager.h"
#include "ui/progress.h"
#include "ui/tab_layout.h"
#include "platform/utf8.h"

namespace {

using ui::As;
using ui::Control;

class BuilderTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { skin_ = ui_test::TestSkin(); }
  static void TearDownTestSuite() { skin_.reset(); }

  std::unique_ptr<Control> BuildMain() {
    std::string error;
    auto root = ui::Build(*skin_, "skin/main.xml", &manager_, &error);
    EXPECT_NE(root, nullptr) << error;
    return root;
  }

  std::unique_ptr<Control> FromString(const std::string& xml, std::string* error = nullptr) {
    return ui::BuildFromString(*skin_, xml, &manager_, error);
  }

  static std::shared_ptr<ui::Package> skin_;
  ui::PaintManager manager_;
};

std::shared_ptr<ui::Package> BuilderTest::skin_;

TEST_F(BuilderTest, WindowRootFillsTheManager) {
  ASSERT_NE(BuildMain(), nullptr);
  const ui::WindowAttributes& a = manager_.GetWindowAttributes();
  EXPECT_EQ(a.size, (ui::Size{400, 300}));
  EXPECT_EQ(a.caption, (ui::Rect{0, 0, 0, 40}));
  EXPECT_EQ(a.round_corner, (ui::Size{6, 6}));
  EXPECT_EQ(a.link_color, 0xFF0000FFu);
  EXPECT_EQ(a.link_hover_color, 0xFFFF00FFu);
  EXPECT_EQ(a.bk_color, 0xFFF0F0F0u);
  ASSERT_EQ(manager_.GetFonts().size(), 2u);
  EXPECT_EQ(manager_.GetFont(0).size, 12);
  EXPECT_TRUE(manager_.GetFont(1).bold);
  EXPECT_TRUE(manager_.GetFont(-1).bold) << "font 1 is marked default";
  EXPECT_TRUE(manager_.GetFont(42).bold) << "unknown ids fall back to the default";
  EXPECT_EQ(manager_.GetDefaultAttribute(L"VScrollBar"), L"width=\"8\"");
}

TEST_F(BuilderTest, FindsControlsAcrossIncludes) {
  auto root = BuildMain();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->GetName(), L"root");
  struct Case {
    const wchar_t* name;
    const char* cls;
  };
  for (const Case& c : {Case{L"close_btn", "Button"}, Case{L"welcome_text", "Text"},
                        Case{L"lang", "Combo"}, Case{L"progress", "Progress"},
                        Case{L"log", "RichEdit"}, Case{L"agree", "CheckBox"},
                        Case{L"unknown_widget", "Fancy"}}) {
    Control* control = root->FindControl(c.name);
    ASSERT_NE(control, nullptr) << platform::ToUtf8(c.name);
    EXPECT_EQ(control->GetClass(), c.cls);
  }
  EXPECT_EQ(root->FindControl(L"unknown_widget")->GetText(), L"odd");
  EXPECT_EQ(root->FindControl(L"nothing"), nullptr);
  EXPECT_EQ(root->FindControl(L""), nullptr);

  Control* page = root->FindControl(L"page_welcome");
  manager_.AttachRoot(std::move(root));
  EXPECT_EQ(manager_.FindControl(L"lang")->GetParent(), page);
  EXPECT_EQ(manager_.FindSubControlByName(page, L"path")->GetClass(), "Edit");
  EXPECT_EQ(manager_.FindSubControlByName(page, L"progress"), nullptr) << "other page";
  EXPECT_EQ(manager_.FindControl(L"lang")->GetManager(), &manager_);
}

TEST_F(BuilderTest, TabLayoutShowsOnlyTheSelectedPage) {
  manager_.AttachRoot(BuildMain());
  auto* pages = As<ui::TabLayout>(manager_.FindControl(L"pages"));
  ASSERT_NE(pages, nullptr);
  Control* welcome = manager_.FindControl(L"page_welcome");
  Control* progress = manager_.FindControl(L"page_progress");
  EXPECT_EQ(pages->GetCurSel(), 0);
  EXPECT_TRUE(welcome->IsVisible());
  EXPECT_FALSE(progress->IsVisible());

  EXPECT_TRUE(pages->SelectItem(1));
  EXPECT_EQ(pages->GetCurSel(), 1);
  EXPECT_FALSE(welcome->IsVisible());
  EXPECT_TRUE(progress->IsVisible());
  EXPECT_EQ(progress->GetPos(), pages->GetPos());

  EXPECT_FALSE(pages->SelectItem(2));
  EXPECT_FALSE(pages->SelectItem(-1));
  EXPECT_EQ(pages->GetCurSel(), 1);
}

TEST_F(BuilderTest, InitialStatesComeFromAttributes) {
  manager_.AttachRoot(BuildMain());
  auto* lang = As<ui::Combo>(manager_.FindControl(L"lang"));
  ASSERT_NE(lang, nullptr);
  EXPECT_EQ(lang->GetCount(), 3);
  EXPECT_EQ(lang->GetCurSel(), 1);
  EXPECT_EQ(lang->GetText(), L"Deutsch");
  EXPECT_FALSE(lang->GetItemAt(2)->IsVisible());
  EXPECT_EQ(lang->GetItemAt(3), nullptr);
  EXPECT_TRUE(As<ui::Option>(manager_.FindControl(L"opt_quick"))->IsSelected());
  EXPECT_FALSE(As<ui::Option>(manager_.FindControl(L"opt_custom"))->IsSelected());
  auto* progress = As<ui::Progress>(manager_.FindControl(L"progress"));
  EXPECT_EQ(progress->GetMaxValue(), 200);
  EXPECT_EQ(progress->GetValue(), 50);
  EXPECT_FALSE(As<ui::CheckBox>(manager_.FindControl(L"agree"))->GetCheck());
}

TEST_F(BuilderTest, IncludesRepeatSkipAndStopAtTheNestingLimit) {
  auto root = FromString(
      R"(<VerticalLayout>
           <Include source="skin/row.xml" count="3"/>
           <Include source="skin/missing.xml"/>
           <Include source="skin/row.xml" count="abc"/>
           <Include source="skin/row.xml" count="0"/>
           <Label name="after"/>
         </VerticalLayout>)");
  ASSERT_NE(root, nullptr);
  auto* layout = As<ui::Container>(root.get());
  ASSERT_EQ(layout->GetCount(), 5);  // 3 + 1 (bad count means one) + the label
  EXPECT_EQ(layout->GetItemAt(3)->GetName(), L"row");
  EXPECT_EQ(layout->GetItemAt(4)->GetName(), L"after");

  std::string error;
  auto cycle = ui::Build(*skin_, "skin/cycle_a.xml", nullptr, &error);
  ASSERT_NE(cycle, nullptr) << error;
  int depth = 0;
  for (Control* c = cycle.get(); c; c = As<ui::Container>(c)->GetItemAt(0)) ++depth;
  EXPECT_EQ(depth, 17) << "the root document and 16 nested includes";
}

TEST_F(BuilderTest, BadDocumentsFailWithAnError) {
  struct Case {
    const char* name;
    std::string xml;
    const char* error_part;
  };
  const Case cases[] = {
      {"not xml", "this is not xml", "XML error"},
      {"unclosed", "<VerticalLayout><Label></VerticalLayout>", "XML error"},
      {"empty", "", "XML error"},
      {"window without control", R"(<Window size="10,10"><Font id="0"/></Window>)", "no control"},
      {"only a broken include", R"(<Include source="nope.xml"/>)", "no control"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_EQ(FromString(c.xml, &error), nullptr) << c.name;
    EXPECT_NE(error.find(c.error_part), std::string::npos) << c.name << ": " << error;
  }
  std::string error;
  EXPECT_EQ(ui::Build(*skin_, "skin/none.xml", nullptr, &error), nullptr);
  EXPECT_NE(error.find("skin/none.xml"), std::string::npos);
}

TEST_F(BuilderTest, BadAttributeValuesKeepTheDefault) {
  struct Case {
    const char* attribute;
    const char* value;
    std::function<bool(const Control&)> holds;
  };
  const Case cases[] = {
      {"width", "12abc", [](const Control& c) { return c.GetFixedWidth() == 0; }},
      {"width", "-5", [](const Control& c) { return c.GetFixedWidth() == 0; }},
      {"width", " 30 ", [](const Control& c) { return c.GetFixedWidth() == 30; }},
      {"height", "99999999999999", [](const Control& c) { return c.GetFixedHeight() == 0; }},
      {"padding", "1,2,3", [](const Control& c) { return c.GetPadding() == ui::Rect{}; }},
      {"padding", "1,2,3,4,5", [](const Control& c) { return c.GetPadding() == ui::Rect{}; }},
      {"padding", "1,2,3,4", [](const Control& c) { return c.GetPadding() == ui::Rect{1, 2, 3, 4}; }},
      {"bkcolor", "#GG0000", [](const Control& c) { return c.GetBkColor() == ui::kColorNone; }},
      {"bkcolor", "#@!ThemeColor#@!", [](const Control& c) { return c.GetBkColor() == ui::kColorNone; }},
      {"visible", "maybe", [](const Control& c) { return c.IsVisible(); }},
      {"enabled", "false", [](const Control& c) { return !c.IsEnabled(); }},
      {"font", "x", [](const Control& c) { return c.GetTextStyle().font == -1; }},
      {"align", "right bottom", [](const Control& c) {
         return c.GetTextStyle().halign == ui::HorizontalAlign::kRight &&
                c.GetTextStyle().valign == ui::VerticalAlign::kBottom;
       }},
      {"nonsense", "1", [](const Control&) { return true; }},
  };
  for (const Case& c : cases) {
    const std::string xml =
        std::string("<Label ") + c.attribute + "=\"" + c.value + "\" text=\"t\"/>";
    auto control = FromString(xml);
    ASSERT_NE(control, nullptr) << xml;
    EXPECT_TRUE(c.holds(*control)) << xml;
    EXPECT_EQ(control->GetText(), L"t") << xml;
  }
  auto progress = FromString(R"(<Progress min="x" max="50" value="90"/>)");
  EXPECT_EQ(As<ui::Progress>(progress.get())->GetValue(), 50) << "clamped to max";
}

TEST(AttributeValuesTest, Colors) {
  struct Case {
    const char* text;
    std::optional<ui::Color> color;
  };
  const Case cases[] = {
      {"#FF0000", 0xFFFF0000},   {"#80FF0000", 0x80FF0000}, {"#00000000", 0x00000000},
      {" #ffffff ", 0xFFFFFFFF}, {"FF0000", std::nullopt},  {"#FF00000", std::nullopt},
      {"#", std::nullopt},       {"", std::nullopt},        {"#-1234567", std::nullopt},
      {"#0xFFFFFF", std::nullopt}, {"#@!ThemeColor#@!", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ui::ParseColor(c.text), c.color) << c.text;
}

}  // namespace
