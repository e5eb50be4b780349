// The layouts of the shipped skin, built with their includes as the UI
// library builds them: the controls the program finds by name, and the
// attributes it relies on.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "layout_document.h"
#include "skin_paths.h"

namespace skintest {
namespace {

struct NamedControl {
  const char* name;
  const char* element;
};

struct ExpectedAttribute {
  const char* control;
  const char* attribute;
  const char* value;
};

const std::vector<NamedControl> kMainWindowControls{
    {"main_tablayout", "TabLayout"},     {"backgroudlayout", "VerticalLayout"},
    {"minbtn", "Button"},                {"closebtn", "Button"},
    {"logo", "Control"},                 {"text_product_name", "Label"},
    {"text_fail_retry", "Text"},         {"page_layout", "TabLayout"},
    {"install_btn", "Button"},           {"license_checkbox", "CheckBox"},
    {"license_link", "Text"},            {"install_setting", "Button"},
    {"text_startshortcut", "Label"},     {"start_app", "Button"},
    {"img_warning", "Control"},          {"text_fail_advice", "Text"},
    {"set_layout", "TabLayout"},         {"license_text_layout", "VerticalLayout"},
    {"license_text", "RichEdit"},        {"select_language_text", "Label"},
    {"language_combox", "Combo"},        {"install_path_text", "Label"},
    {"install_file_path_edit", "Edit"},  {"browser_btn", "Button"},
    {"space_need", "Label"},             {"space_free", "Label"},
    {"agree_improvement_checkbox", "CheckBox"}, {"agree_improvement", "Text"},
    {"image_play", "HorizontalLayout"},  {"image_play_option1", "Option"},
    {"image_play_option2", "Option"},    {"image_play_option3", "Option"},
    {"install_progress", "Progress"},    {"install_label", "Text"},
    {"install_minbtn", "Button"},        {"license_english", "RichEdit"},
    {"license_chinese", "RichEdit"},     {"license_chinesetrad", "RichEdit"},
    {"anima_text_1", "Label"},           {"anima_text_2", "Label"},
    {"anima_text_3", "Label"},           {"anima_text_4", "Label"},
    {"anima_text_5", "Label"},           {"Product_config", "VerticalLayout"},
};

const std::vector<ExpectedAttribute> kMainWindowAttributes{
    {"backgroudlayout", "height", "360"},
    {"backgroudlayout", "bkimage", "skin\\backgroud.png"},
    {"text_product_name", "text", "Brisko"},
    {"text_fail_retry", "visible", "false"},
    {"text_fail_advice", "visible", "false"},
    {"img_warning", "visible", "false"},
    {"set_layout", "selectedid", "1"},
    {"license_text_layout", "height", "1590"},
    {"license_checkbox", "selected", "true"},
    {"license_link", "showhtml", "true"},
    {"install_label", "showhtml", "true"},
    {"image_play", "width", "648"},
    {"image_play", "height", "300"},
    {"image_play", "bkimage", "skin\\anima\\1.png"},
    {"install_progress", "min", "0"},
    {"install_progress", "max", "100"},
    {"license_english", "readonly", "true"},
    {"license_chinese", "readonly", "true"},
    {"license_chinesetrad", "readonly", "true"},
};

const std::vector<std::string> kComboTexts{
    " English", " 日本語", " 简体中文", " Español", " Deutsch", " Français", " Русский",
    " Português", " العربية", " Italiano", " 繁體中文", " 한국어", " Nederlands",
    " Bahasa Indonesia", " Türkçe", " हिंदी", " ภาษาไทย", " Bahasa Melayu", " Svenska",
    " Čeština"};

bool Holds(const tinyxml2::XMLElement* element, const std::string& name) {
  if (Attribute(element, "name") == name) return true;
  for (const tinyxml2::XMLElement* child : Children(element)) {
    if (Holds(child, name)) return true;
  }
  return false;
}

class MainWindowLayout : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(layout_.Ok()) << layout_.Error(); }

  LayoutDocument layout_{"InstallMainWnd.xml"};
};

TEST_F(MainWindowLayout, WindowAttributes) {
  const tinyxml2::XMLElement* window = layout_.Root();
  ASSERT_STREQ(window->Name(), "Window");
  EXPECT_EQ(Attribute(window, "size"), "650,560");
  EXPECT_EQ(Attribute(window, "caption"), "0,0,0,310");
  EXPECT_EQ(Attribute(window, "roundcorner"), "2,2");
  EXPECT_FALSE(Attribute(window, "linkcolor").empty());
  EXPECT_FALSE(Attribute(window, "linkhovercolor").empty());
}

TEST_F(MainWindowLayout, FontTableHasIds0To23InTheThreeFamilies) {
  const std::set<std::string> families{"Tahoma", "Times New Roman", "Microsoft YaHei"};
  std::set<int> ids;
  for (const tinyxml2::XMLElement* font : Children(layout_.Root())) {
    if (std::string(font->Name()) != "Font") continue;
    EXPECT_TRUE(ids.insert(font->IntAttribute("id", -1)).second) << "font id twice";
    EXPECT_TRUE(families.count(Attribute(font, "name"))) << Attribute(font, "name");
    const int size = font->IntAttribute("size");
    EXPECT_GE(size, 10);
    EXPECT_LE(size, 20);
  }
  ASSERT_EQ(ids.size(), 24u);
  EXPECT_EQ(*ids.begin(), 0);
  EXPECT_EQ(*ids.rbegin(), 23);
}

TEST_F(MainWindowLayout, MainTabLayoutHasTheThreePages) {
  const tinyxml2::XMLElement* tabs = layout_.Find("main_tablayout");
  ASSERT_NE(tabs, nullptr);
  const std::vector<const tinyxml2::XMLElement*> pages = Children(tabs);
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_TRUE(Holds(pages[0], "backgroudlayout"));
  EXPECT_TRUE(Holds(pages[0], "set_layout"));
  EXPECT_TRUE(Holds(pages[1], "install_progress"));
  EXPECT_TRUE(Holds(pages[2], "license_english"));
  EXPECT_TRUE(Holds(pages[2], "Product_config"));
}

TEST_F(MainWindowLayout, EveryControlTheProgramFindsExistsOnce) {
  for (const NamedControl& control : kMainWindowControls) {
    const std::vector<const tinyxml2::XMLElement*> found = layout_.FindAll(control.name);
    ASSERT_EQ(found.size(), 1u) << control.name;
    EXPECT_STREQ(found[0]->Name(), control.element) << control.name;
  }
  // The program counts the slide dots until a number is missing.
  EXPECT_TRUE(layout_.FindAll("image_play_option4").empty());
}

TEST_F(MainWindowLayout, NoNameIsUsedTwice) {
  std::map<std::string, int> counts;
  std::vector<const tinyxml2::XMLElement*> stack{layout_.Root()};
  while (!stack.empty()) {
    const tinyxml2::XMLElement* element = stack.back();
    stack.pop_back();
    const std::string name = Attribute(element, "name");
    if (!name.empty() && std::string(element->Name()) != "Font" &&
        std::string(element->Name()) != "Default") {
      ++counts[name];
    }
    for (const tinyxml2::XMLElement* child : Children(element)) stack.push_back(child);
  }
  for (const auto& [name, count] : counts) EXPECT_EQ(count, 1) << name;
}

TEST_F(MainWindowLayout, ControlAttributes) {
  for (const ExpectedAttribute& expected : kMainWindowAttributes) {
    const tinyxml2::XMLElement* control = layout_.Find(expected.control);
    ASSERT_NE(control, nullptr) << expected.control;
    EXPECT_EQ(Attribute(control, expected.attribute), expected.value)
        << expected.control << " " << expected.attribute;
  }
  for (int i = 1; i <= 5; ++i) {
    const tinyxml2::XMLElement* label = layout_.Find("anima_text_" + std::to_string(i));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(Attribute(label, "visible"), "false");
  }
  for (int i = 1; i <= 3; ++i) {
    const tinyxml2::XMLElement* dot = layout_.Find("image_play_option" + std::to_string(i));
    ASSERT_NE(dot, nullptr);
    EXPECT_EQ(Attribute(dot, "group"), "image_play_option");
  }
}

TEST_F(MainWindowLayout, LanguageComboOffersOnlySimplifiedChinese) {
  const tinyxml2::XMLElement* combo = layout_.Find("language_combox");
  ASSERT_NE(combo, nullptr);
  const std::vector<const tinyxml2::XMLElement*> items = Children(combo);
  ASSERT_EQ(items.size(), kComboTexts.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    EXPECT_STREQ(items[i]->Name(), "ListLabelElement");
    EXPECT_EQ(Attribute(items[i], "text"), kComboTexts[i]) << i;
    EXPECT_EQ(Attribute(items[i], "tooltip"), kComboTexts[i].substr(1)) << i;
    EXPECT_EQ(Attribute(items[i], "visible"), i == 2 ? "true" : "false") << i;
  }
}

// The shipped product's values of the placeholders the language files carry.
std::string FillProductPlaceholders(std::string text) {
  const std::pair<const char*, const char*> values[] = {
      {"#@!ThemeColor#@!", "#1E6FD9"}, {"#@!BrandName#@!", "Brisko"}, {"#@!SoftwareName#@!", "Brisko"}};
  for (const auto& [placeholder, value] : values) {
    for (std::size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder)) {
      text.replace(at, std::string(placeholder).size(), value);
    }
  }
  return text;
}

// Until a language is applied the window shows the layout's own texts: the
// English ones, markup included, with the product's placeholders filled in
// so that the first page looks finished.
TEST_F(MainWindowLayout, DefaultTextsAreTheEnglishTexts) {
  const LayoutDocument english("language/language_english.xml");
  ASSERT_TRUE(english.Ok()) << english.Error();
  const tinyxml2::XMLElement* page = english.Find("install_page");
  ASSERT_NE(page, nullptr);
  for (const tinyxml2::XMLElement* label : Children(page)) {
    const std::string name = Attribute(label, "name");
    const tinyxml2::XMLElement* control = layout_.Find(name);
    if (control == nullptr) continue;
    EXPECT_EQ(Attribute(control, "text"), FillProductPlaceholders(Attribute(label, "text"))) << name;
  }
  const tinyxml2::XMLElement* licence = layout_.Find("license_text");
  const tinyxml2::XMLElement* englishLicence = layout_.Find("license_english");
  ASSERT_NE(licence, nullptr);
  ASSERT_NE(englishLicence, nullptr);
  EXPECT_EQ(Attribute(licence, "text"), Attribute(englishLicence, "text"));
}

TEST(LicenceTexts, AreWrittenInTheirLanguage) {
  const LayoutDocument licences("License.xml");
  ASSERT_TRUE(licences.Ok()) << licences.Error();
  const std::map<std::string, std::string> marker{
      {"license_english", "LICENSE AGREEMENT"},
      {"license_chinese", "许可协议"},
      {"license_chinesetrad", "授權合約"}};
  for (const auto& [name, words] : marker) {
    const tinyxml2::XMLElement* text = licences.Find(name);
    ASSERT_NE(text, nullptr) << name;
    const std::string body = Attribute(text, "text");
    EXPECT_NE(body.find(words), std::string::npos) << name;
    EXPECT_NE(body.find("Brisko"), std::string::npos) << name;
    EXPECT_NE(body.find('\n'), std::string::npos) << name << " should have paragraphs";
  }
}

TEST(MessageBoxLayout, HasTheControlsOfTheBox) {
  const LayoutDocument box("MessageBox.xml");
  ASSERT_TRUE(box.Ok()) << box.Error();
  EXPECT_EQ(Attribute(box.Root(), "size"), "500,190");
  std::map<int, std::string> fonts;
  for (const tinyxml2::XMLElement* font : Children(box.Root())) {
    if (std::string(font->Name()) == "Font") {
      fonts[font->IntAttribute("id")] = Attribute(font, "name") + " " + Attribute(font, "size");
    }
  }
  EXPECT_EQ(fonts, (std::map<int, std::string>{{0, "Tahoma 12"}, {1, "Tahoma 14"}}));

  const std::vector<ExpectedAttribute> expected{
      {"minbtn", "visible", "false"},      {"iconimage", "width", "40"},
      {"iconimage", "height", "40"},       {"msg_describe", "width", "360"},
      {"msg_describe", "height", "90"},    {"msg_describe", "showhtml", "true"},
      {"msg_question", "visible", "false"}, {"msg_question", "height", "0"},
      {"btn_yes", "width", "160"},         {"btn_yes", "height", "28"},
      {"btn_yes", "stateimage", "skin\\btn_yes.png"},
      {"btn_no", "width", "160"},          {"btn_no", "height", "28"},
      {"btn_no", "stateimage", "skin\\btn_no.png"},
  };
  for (const ExpectedAttribute& attribute : expected) {
    const tinyxml2::XMLElement* control = box.Find(attribute.control);
    ASSERT_NE(control, nullptr) << attribute.control;
    EXPECT_EQ(Attribute(control, attribute.attribute), attribute.value)
        << attribute.control << " " << attribute.attribute;
  }
  ASSERT_NE(box.Find("closebtn"), nullptr);
  const tinyxml2::XMLElement* body = Children(box.Root()).back();
  EXPECT_EQ(Attribute(body, "bkimage"), "skin\\bg_message.png");
}

TEST(SkinFolder, EveryXmlFileIsWellFormed) {
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(SkinDir())) {
    if (entry.path().extension() != ".xml") continue;
    ++files;
    tinyxml2::XMLDocument document;
    EXPECT_EQ(document.LoadFile(entry.path().c_str()), tinyxml2::XML_SUCCESS)
        << entry.path() << ": " << document.ErrorStr();
  }
  EXPECT_GT(files, 0) << "no layouts in " << SkinDir();
}

}  // namespace
}  // namespace skintest
