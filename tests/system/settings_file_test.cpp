#include "system/settings_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fixtures/scoped_current_directory.h"
#include "fixtures/temp_dir.h"
#include "platform/paths.h"
#include "system/text_conversion.h"

namespace {

std::wstring Wide(const std::filesystem::path& p) { return Utf8ToWide(p.string()); }

TEST(SettingsFile, OnlyTheValueOneSwitchesOn) {
  struct Case {
    const char* content;
    bool autoRun;
  };
  const Case cases[] = {
      {"[Settings]\nAutoRun=1\n", true},
      {"[Settings]\r\nAutoRun = 1\r\n", true},
      {"[settings]\nautorun=1", true},
      {"[Settings]\nAutoRun=2\n", false},
      {"[Settings]\nAutoRun=0\n", false},
      {"[Settings]\nAutoRun=yes\n", false},
      {"[Other]\nAutoRun=1\n", false},
      {"AutoRun=1\n", false},
      {"\x01\x02garbage\xff\xfe[[[==\n\n", false},
      {"", false},
  };
  test::TempDir dir;
  for (const Case& c : cases) {
    const auto file = dir.Write("cv_downloader.cfg", c.content);
    EXPECT_EQ(FuntionImpl::SettingsSwitchOn(Wide(file), L"AutoRun"), c.autoRun) << c.content;
  }
}

TEST(SettingsFile, MissingFileMeansOff) {
  test::TempDir dir;
  EXPECT_FALSE(FuntionImpl::SettingsSwitchOn(Wide(dir.path() / "cv_downloader.cfg"), L"TestEnv"));
}

// The three queries read the file beside the executable, afresh each time.
// One test case, so that no other case of this program sees the file.
TEST(SettingsFile, QueriesReadTheFileBesideTheExecutableEveryTime) {
  const std::wstring path = FuntionImpl::SettingsFilePath();
  ASSERT_EQ(path, platform::GetExecutableDir() + L"cv_downloader.cfg");
  const std::filesystem::path file(WideToUtf8(path));
  ASSERT_FALSE(std::filesystem::exists(file)) << "leftover " << file;

  EXPECT_FALSE(FuntionImpl::TestEnv());
  EXPECT_FALSE(FuntionImpl::AutoRun());
  EXPECT_FALSE(FuntionImpl::CrashTest());

  test::WriteFile(file, "[Settings]\nTestEnv=1\nAutoRun=2\nCrashTest=1\n");
  EXPECT_TRUE(FuntionImpl::TestEnv());
  EXPECT_FALSE(FuntionImpl::AutoRun());
  EXPECT_TRUE(FuntionImpl::CrashTest());

  test::WriteFile(file, "[Settings]\nAutoRun=1\n");
  EXPECT_FALSE(FuntionImpl::TestEnv());
  EXPECT_TRUE(FuntionImpl::AutoRun());
  std::filesystem::remove(file);

  // A settings file elsewhere, here in the working directory of another
  // folder, has no effect.
  test::TempDir elsewhere;
  elsewhere.Write("cv_downloader.cfg", "[Settings]\nAutoRun=1\nTestEnv=1\n");
  const test::ScopedCurrentDirectory inElsewhere(elsewhere.path());
  EXPECT_FALSE(FuntionImpl::AutoRun());
  EXPECT_FALSE(FuntionImpl::TestEnv());
}

}  // namespace
