// The product configuration shipped in the skin: configure/configure.xml.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "layout_document.h"

namespace skintest {
namespace {

constexpr const char* kDemoUrl = "http://127.0.0.1:18080/downloads/brisko_setup.exe";

// Every entry the program reads, with the value this skin ships.
const std::map<std::string, std::string> kShippedEntries{
    {"Downloader_id", "180"},      {"Software_id", "0"},
    {"Site_id", "93"},             {"Language_id", "1033"},
    {"Software_name", "Brisko"},   {"Software_version", "1.0.0.0"},
    {"Process_name", "Brisko.exe"}, {"Install_url", ""},
    {"Download_url", kDemoUrl},    {"Extra_download_url", kDemoUrl},
    {"Banner_url", ""},            {"Licensefile_url", ""},
    {"Md5", ""},                   {"Filesize", ""},
    {"ProductSize", ""},           {"Cnet_download_url", ""},
    {"Md5_extra", ""},             {"Gif_duration", "3"},
    {"NeedStart_flag", "1"},       {"admin_flag", "1"},
    {"MainPid", "3865"},           {"InstallTimeout", "600"},
    {"Support32System", "0"},      {"ChooseLicense", "0"},
};

// Language suffixes in the order of the main window's language index.
const std::vector<std::string> kLanguageSuffixes{
    "english", "japanese", "chinesesimp", "spanish", "german", "french", "russian",
    "portuguese", "arabic", "italiano", "chinesetrad", "korean", "nederlands", "indonesian",
    "turkish", "hindi", "thai", "malay", "swedish", "czech"};

struct Entry {
  std::string name;
  std::string value;
};

class ConfigureXml : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(document_.Ok()) << document_.Error();
    const tinyxml2::XMLElement* root = document_.Root();
    ASSERT_STREQ(root->Name(), "VerticalLayout");
    const std::vector<const tinyxml2::XMLElement*> top = Children(root);
    ASSERT_EQ(top.size(), 1u);
    ASSERT_STREQ(top[0]->Name(), "VerticalLayout");
    ASSERT_EQ(Attribute(top[0], "name"), "Product_config");
    labels_ = Children(top[0]);
    for (const tinyxml2::XMLElement* label : labels_) {
      entries_.push_back({Attribute(label, "name"), Attribute(label, "text")});
    }
  }

  LayoutDocument document_{"configure/configure.xml"};
  std::vector<const tinyxml2::XMLElement*> labels_;
  std::vector<Entry> entries_;
};

TEST_F(ConfigureXml, EveryEntryIsALabelWithNameThenText) {
  for (const tinyxml2::XMLElement* label : labels_) {
    EXPECT_STREQ(label->Name(), "Label");
    const tinyxml2::XMLAttribute* first = label->FirstAttribute();
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first->Name(), "name");
    const tinyxml2::XMLAttribute* second = first->Next();
    ASSERT_NE(second, nullptr) << first->Value();
    EXPECT_STREQ(second->Name(), "text") << first->Value();
    EXPECT_EQ(second->Next(), nullptr) << first->Value() << " has a third attribute";
  }
}

TEST_F(ConfigureXml, CarriesEveryEntryOnceWithItsShippedValue) {
  std::map<std::string, std::string> found;
  for (const Entry& entry : entries_) {
    EXPECT_TRUE(found.emplace(entry.name, entry.value).second) << entry.name << " twice";
  }
  for (const auto& [name, value] : kShippedEntries) {
    ASSERT_TRUE(found.count(name)) << name << " missing";
    EXPECT_EQ(found.at(name), value) << name;
  }
}

TEST_F(ConfigureXml, ProductUrlsAreTheFirstTenLanguagesReorderedAndEmpty) {
  std::vector<std::string> suffixes;
  for (const Entry& entry : entries_) {
    if (kShippedEntries.count(entry.name)) continue;
    ASSERT_EQ(entry.name.rfind("product_url_", 0), 0u) << "unexpected entry " << entry.name;
    suffixes.push_back(entry.name.substr(std::string("product_url_").size()));
    EXPECT_EQ(entry.value, "") << entry.name;
  }
  const std::vector<std::string> firstTen(kLanguageSuffixes.begin(),
                                          kLanguageSuffixes.begin() + 10);
  EXPECT_NE(suffixes, firstTen) << "expected another order than the language index";
  std::sort(suffixes.begin(), suffixes.end());
  std::vector<std::string> expected = firstTen;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(suffixes, expected);
}

// A URL that contains "cdn." or "dl." is never tried, so the stub would
// have nothing to download.
TEST_F(ConfigureXml, PackageUrlsAreDownloadCandidates) {
  for (const char* name : {"Download_url", "Extra_download_url"}) {
    const auto entry = std::find_if(entries_.begin(), entries_.end(),
                                    [name](const Entry& e) { return e.name == name; });
    ASSERT_NE(entry, entries_.end()) << name;
    const std::string url = entry->value;
    EXPECT_EQ(url.find("cdn."), std::string::npos) << name;
    EXPECT_EQ(url.find("dl."), std::string::npos) << name;
    EXPECT_TRUE(url.ends_with(".exe")) << name << ": the package must be a Windows installer";
  }
}

}  // namespace
}  // namespace skintest
