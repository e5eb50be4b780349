// Version information of the running executable and of other files.
#include <gtest/gtest.h>

#include <filesystem>

#include "fixtures/temp_dir.h"
#include "platform/paths.h"
#include "system/file_version.h"

namespace {

TEST(FileVersion, OwnExecutableHasTheBuildsVersion) {
  const std::wstring self = platform::GetExecutablePath();
  EXPECT_EQ(GetFileVersionText(self), STUB_PROJECT_VERSION);
  EXPECT_EQ(GetFileVersionTextW(self), L"" STUB_PROJECT_VERSION);

  const FileVersionStrings strings = GetFileVersionStrings(self);
  EXPECT_EQ(strings.productName, L"Brisko Setup");
  EXPECT_EQ(strings.productVersion, L"" STUB_PROJECT_VERSION);
  EXPECT_FALSE(strings.legalCopyright.empty());
  EXPECT_FALSE(strings.fileDescription.empty());
}

TEST(FileVersion, OwnExecutableThroughAnotherSpelling) {
  test::TempDir dir;
  std::filesystem::create_symlink(platform::GetExecutablePath(), dir.path() / "link");
  EXPECT_EQ(GetFileVersionText(dir.WFile("link")), STUB_PROJECT_VERSION);
  const std::wstring name =
      std::filesystem::path(platform::GetExecutablePath()).filename().wstring();
  EXPECT_EQ(GetFileVersionText(platform::GetExecutableDir() + L"./" + name), STUB_PROJECT_VERSION);
}

TEST(FileVersion, OtherFilesHaveNone) {
  test::TempDir dir;
  dir.Write("brisko_setup.exe", "MZ not really");
  // A copy is another file, even with the same bytes.
  std::filesystem::copy_file(platform::GetExecutablePath(), dir.path() / "copy");
  for (const std::wstring& file :
       {dir.WFile("brisko_setup.exe"), dir.WFile("copy"), dir.WFile("missing"), dir.wpath(),
        std::wstring()}) {
    EXPECT_EQ(GetFileVersionText(file), "");
    EXPECT_EQ(GetFileVersionTextW(file), L"");
    const FileVersionStrings strings = GetFileVersionStrings(file);
    EXPECT_TRUE(strings.productName.empty() && strings.productVersion.empty() &&
                strings.legalCopyright.empty() && strings.fileDescription.empty());
  }
}

}  // namespace
