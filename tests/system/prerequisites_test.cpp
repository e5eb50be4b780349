#include "system/prerequisites.h"

#include <gtest/gtest.h>

#include "fixtures/temp_dir.h"
#include "platform/registry_store.h"

namespace {

constexpr wchar_t kNetKey[] = L"SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v4\\Client";
constexpr wchar_t kBuildKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

class Prerequisites : public ::testing::Test {
 protected:
  void SetUp() override { platform::RegistryStore::SetRootForTesting(registry_.wpath()); }
  void TearDown() override { platform::RegistryStore::SetRootForTesting(L""); }

  static void Set(const wchar_t* key, const wchar_t* value, const std::wstring& text) {
    ASSERT_TRUE(platform::RegistryStore::WriteString(platform::RegistryHive::LocalMachine, key, value, text));
  }

  test::TempDir registry_;
  test::TempDir product_;
};

TEST(ParseVersion, FourPartsReadLikeAtoi) {
  struct Case {
    const char* text;
    Version version;
  };
  const Case cases[] = {
      {"4.8.04084", {4, 8, 4084, 0}}, {"4.7.2", {4, 7, 2, 0}},   {"4.8", {4, 8, 0, 0}},
      {"", {0, 0, 0, 0}},             {"1.2.3.4.5", {1, 2, 3, 4}}, {" 4.x.9", {4, 0, 9, 0}},
      {"4..1", {4, 0, 1, 0}},         {"10.0.22000.1", {10, 0, 22000, 1}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseVersion(c.text), c.version) << c.text;
}

TEST_F(Prerequisites, TheNeededVersionComesFromTheSettingsSection) {
  struct Case {
    std::string file;
    const char* needed;
  };
  const Case cases[] = {
      {"[Settings]\nNetFrameworkVersion=4.7.2\n[Text]\nPlease install .NET\n", "4.7.2"},
      {"\xEF\xBB\xBFname=x\r\n[Settings]\r\nNetFrameworkVersion=4.8\r\n", "4.8"},
      {"NetFrameworkVersion=4.8\n[Settings]\nOther=1\n", ""},   // before [Settings]
      {"[Settings]\n[Text]\nNetFrameworkVersion=4.8\n", ""},   // after [Text]
      {"[Settings]\n=4.8\nNetFrameworkVersion =4.8\n", ""},    // no such key
      {"[Settings]\nNetFrameworkVersion=4.\xff\n", ""},        // not UTF-8
      {"[Settings]\n" + std::string(5000, 'x') + "\nNetFrameworkVersion=4.6\n", "4.6"},
      {"[Settings]\nNetFrameworkVersion=" + std::string(5000, '1') + "\n", ""},  // cut: still a version
      {"", ""},
  };
  for (const Case& c : cases) {
    product_.Write("NetFrameCheck.db", c.file);
    const std::string needed = GetNeedNetFrameVersion(product_.wpath());
    if (std::string(c.needed).empty() && c.file.find(std::string(5000, '1')) != std::string::npos) {
      EXPECT_EQ(needed.size(), 1023u - std::string("NetFrameworkVersion=").size());
    } else {
      EXPECT_EQ(needed, c.needed) << c.file.substr(0, 60);
    }
  }
  EXPECT_EQ(GetNeedNetFrameVersion(registry_.wpath()), "");  // no file
}

TEST_F(Prerequisites, ThePromptShowsOnlyForAnOlderInstalledVersion) {
  product_.Write("NetFrameCheck.db", "[Settings]\nNetFrameworkVersion=4.7.2\n");
  EXPECT_TRUE(FuntionImpl::WillShowNetFrameCheck(product_.wpath()));  // nothing installed
  Set(kNetKey, L"Version", L"4.8.04084");
  EXPECT_FALSE(FuntionImpl::WillShowNetFrameCheck(product_.wpath()));
  Set(kNetKey, L"Version", L"4.6.01590");
  EXPECT_TRUE(FuntionImpl::WillShowNetFrameCheck(product_.wpath()));
  Set(kNetKey, L"Version", L"4.7.2");
  EXPECT_FALSE(FuntionImpl::WillShowNetFrameCheck(product_.wpath()));
  Set(kNetKey, L"Version", std::wstring(300, L'9'));  // does not fit: reads as not installed
  EXPECT_EQ(GetLocalNetFrameVersion(), "");

  product_.Write("NetFrameCheck.db", "[Text]\n[Settings]\nNetFrameworkVersion=9\n");
  EXPECT_FALSE(FuntionImpl::WillShowNetFrameCheck(product_.wpath()));
}

TEST_F(Prerequisites, Windows11IsABuildAbove21999) {
  EXPECT_FALSE(IsWindows11());  // nothing known
  Set(kBuildKey, L"CurrentBuildNumber", L"19045");
  EXPECT_FALSE(IsWindows11());
  Set(kBuildKey, L"CurrentBuild", L"22000");
  EXPECT_TRUE(IsWindows11());
  Set(kBuildKey, L"CurrentBuild", L"21999");
  EXPECT_FALSE(IsWindows11());
}

}  // namespace
