// The English language file: every name the program looks up, in its page,
// with the texts the installer shows.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "layout_document.h"

namespace skintest {
namespace {

const std::map<std::string, std::string> kInstallPageTexts{
    {"select_language_text", "Select Language : "},
    {"install_btn", "Install"},
    {"install_setting", "Install Setting"},
    {"license_link",
     "{f 1}{c #000000}I've read and agreed{/c}{/f} {f 1}{a}{u}{c #@!ThemeColor#@!}#@!BrandName#@! "
     "License Agreement{/c}{/u}{/a}{/f}"},
    {"browser_btn", "Browse"},
    {"space_need", "Space required : 2.3M"},
    {"space_free", "Space available : %.1fGB"},
    {"install_label",
     "{f 4}{c #000000}Installing, please wait...{/c} {/f}{f 0}{c #@!ThemeColor#@!}%0.f%%{/c}{/f}"
     "{f 4}{c #000000} completed.{/c}{/f}"},
    {"install_path_text", "Installation Path:"},
    {"install_minbtn", "Hide"},
    {"install_closebtn", "Close"},
    {"finish_label", "#@!SoftwareName#@! has been installed successfully on your computer!"},
    {"start_app", "Start"},
    {"agree_improvement",
     "{f 1}Agreed to participate in the customer experience improvement plan!{/f}"},
    {"extra_text",
     "{f 12}To avoid further data corruption, please do not install the program on the drive "
     "where your data is lost.{/f}"},
    {"text_fail_retry", "{f 18}Installation failed, please try again.{/f}"},
    {"retry_btn", "Try again"},
    {"text_fail_advice",
     "{f 19}{c #555555}The program installation failed, you can try to reinstall it again. Or "
     "directly download the {/c}{/f}{f 19}{a}{u}{c #@!ThemeColor#@!}installation package "
     "file{/c}{/u}{/a}{/f}{f 19}{c #555555} and install it.{/c}{/f}"},
    {"anima_text_1", "#@!AnimationText1#@!"},
    {"anima_text_2", "#@!AnimationText2#@!"},
    {"anima_text_3", "#@!AnimationText3#@!"},
    {"anima_text_4", "#@!AnimationText4#@!"},
    {"anima_text_5", "#@!AnimationText5#@!"},
};

// The message texts the message boxes show; the names without a text here
// are free wording, but must be present.
const std::map<std::string, std::string> kMessagePageTexts{
    {"CancelDesText", "{f 1}Are you sure to cancel installation?{/c}{/f}"},
    {"AppExistDesText",
     "{f 1}#@!SoftwareName#@! is running now. If you want to re-install it， please close it "
     "firstly!{/c}{/f}"},
    {"PathErrorDesText",
     "{f 1}The installation path you have selected is invalid. Please choose again!{/c}{/f}"},
    {"InstallRunTimeOutDesText",
     "{f 1}It takes more time than expected to install it. As the installation file may be "
     "corrupt or missing, please install it  again!{/c}{/f}"},
    {"MD5FailDesText", "{f 1}Failed to verify MD5, please install it again{/c}{/f}"},
    {"UrlFailDexText", "{f 1}Failed to connect to the server, please install it again{/c}{/f}"},
    {"InternetFailDesText",
     "{f 1}Your network is disconnected. Please check to see if the network is connected "
     "properly. {/c}{/f}"},
    {"InternetTimeoutDesText",
     "{f 1}Your download has been interrupted. Please check to see if the network is connected "
     "properly. {/c}{/f}"},
    {"NoEnoughSpaceDesText",
     "{f 1}Insufficient disk space! Please change the storage path.{/c}{/f}"},
    {"NotSupportSystemDesText", "{f 1}Only compatible with 64-bit operating systems!{/c}{/f}"},
    {"AgreeDesText",
     "To protect your interests and rights, please read and agree to the license agreement"},
    {"YesText", "Yes"},
    {"NoText", "No"},
    {"OkButtonText", "OK"},
    {"ConfirmText", "Confirm"},
    {"AgreeInstallText", "Agree and Install"},
    {"NotAgreeText", "Disagree"},
    // Questions go into a hidden control: all of them are empty.
    {"FinshQueText", ""},
    {"ReplaceQueText", ""},
    {"CancelQueText", ""},
    {"AppExistQueText", ""},
    {"PathErrorQueText", ""},
    {"InstallRunTimeOutQueText", ""},
    {"MD5FailQueText", ""},
    {"UrlFailQueText", ""},
    {"InternetFailQueText", ""},
    {"InternetTimeoutQueText", ""},
};

const std::vector<std::string> kFreeMessageNames{
    "ClickShortcutToLaunchText", "FinshDesText", "ReplaceDesText", "ReplaceText", "CancelText"};

class EnglishLanguage : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(document_.Ok()) << document_.Error();
    ASSERT_STREQ(document_.Root()->Name(), "VerticalLayout");
    const std::vector<const tinyxml2::XMLElement*> top = Children(document_.Root());
    ASSERT_EQ(top.size(), 1u);
    ASSERT_STREQ(top[0]->Name(), "VerticalLayout");
    for (const tinyxml2::XMLElement* page : Children(top[0])) {
      ASSERT_STREQ(page->Name(), "VerticalLayout");
      std::map<std::string, std::string>& texts = pages_[Attribute(page, "name")];
      for (const tinyxml2::XMLElement* label : Children(page)) {
        EXPECT_STREQ(label->Name(), "Label");
        const std::string name = Attribute(label, "name");
        EXPECT_TRUE(texts.emplace(name, Attribute(label, "text")).second) << name << " twice";
        ++occurrences_[name];
      }
    }
  }

  LayoutDocument document_{"language/language_english.xml"};
  std::map<std::string, std::map<std::string, std::string>> pages_;
  std::map<std::string, int> occurrences_;
};

TEST_F(EnglishLanguage, HasExactlyTheTwoPages) {
  ASSERT_EQ(pages_.size(), 2u);
  EXPECT_TRUE(pages_.count("install_page"));
  EXPECT_TRUE(pages_.count("message_page"));
}

TEST_F(EnglishLanguage, CarriesThe55NamesOnceEachInTheirPage) {
  std::map<std::string, std::string> expectedPage;
  for (const auto& [name, text] : kInstallPageTexts) expectedPage[name] = "install_page";
  for (const auto& [name, text] : kMessagePageTexts) expectedPage[name] = "message_page";
  for (const std::string& name : kFreeMessageNames) expectedPage[name] = "message_page";
  ASSERT_EQ(expectedPage.size(), 55u);

  for (const auto& [name, page] : expectedPage) {
    EXPECT_EQ(occurrences_[name], 1) << name;
    EXPECT_TRUE(pages_[page].count(name)) << name << " is not in " << page;
  }
  for (const auto& [name, count] : occurrences_) {
    EXPECT_TRUE(expectedPage.count(name)) << "unexpected name " << name;
  }
}

TEST_F(EnglishLanguage, InstallPageTextsAreExact) {
  for (const auto& [name, text] : kInstallPageTexts) EXPECT_EQ(pages_["install_page"][name], text);
}

TEST_F(EnglishLanguage, MessageTextsAreExact) {
  for (const auto& [name, text] : kMessagePageTexts) EXPECT_EQ(pages_["message_page"][name], text);
}

TEST_F(EnglishLanguage, FreeMessageTextsAreWritten) {
  for (const std::string& name : kFreeMessageNames) {
    EXPECT_FALSE(pages_["message_page"][name].empty()) << name;
  }
}

}  // namespace
}  // namespace skintest
