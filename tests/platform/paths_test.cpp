#include "platform/paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <optional>

#include "fixtures/scoped_env.h"
#include "fixtures/temp_dir.h"
#include "platform/utf8.h"

namespace {

using test::ScopedEnv;
using test::TempDir;
using test::WriteFile;

TEST(Paths, ExecutableIsThisTestProgram) {
  const std::wstring path = platform::GetExecutablePath();
  EXPECT_TRUE(path.ends_with(L"/platform_tests"));
  EXPECT_TRUE(platform::PathExists(path));
  EXPECT_EQ(platform::GetExecutableDir() + L"platform_tests", path);
}

TEST(Paths, TempDirHonoursTmpdirAndEndsInSlash) {
  TempDir dir;
  {
    ScopedEnv env("TMPDIR", dir.str());
    EXPECT_EQ(platform::GetTempDir(), dir.wpath() + L"/");
  }
  {
    ScopedEnv env("TMPDIR", dir.str() + "/");
    EXPECT_EQ(platform::GetTempDir(), dir.wpath() + L"/");
  }
  for (const std::optional<std::string>& bad : {std::optional<std::string>(),
                                                std::optional<std::string>(""),
                                                std::optional<std::string>(dir.File("missing"))}) {
    ScopedEnv env("TMPDIR", bad);
    EXPECT_EQ(platform::GetTempDir(), L"/tmp/");
  }
}

TEST(Paths, DesktopFromUserDirsWithHomeExpansion) {
  TempDir dir;
  ScopedEnv home("HOME", dir.str());
  ScopedEnv config("XDG_CONFIG_HOME", dir.File("config"));
  EXPECT_EQ(platform::GetDesktopDir(), dir.wpath() + L"/Desktop");  // no file

  ASSERT_TRUE(platform::CreateDirectories(dir.WFile("config")));
  struct Case {
    std::string line;
    std::wstring desktop;
  };
  const Case cases[] = {
      {"XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"", dir.wpath() + L"/Schreibtisch"},
      {"XDG_DESKTOP_DIR=\"$HOME/\xE6\xA1\x8C\xE9\x9D\xA2/\"", dir.wpath() + L"/\u684C\u9762"},
      {"XDG_DESKTOP_DIR=\"/srv/desk\"", L"/srv/desk"},
      {"XDG_DESKTOP_DIR=\"$HOME\"", dir.wpath()},
      {"XDG_DESKTOP_DIR=\"relative/dir\"", dir.wpath() + L"/Desktop"},
      {"XDG_DESKTOP_DIR=\"$HOME/unterminated", dir.wpath() + L"/Desktop"},
      {"# XDG_DESKTOP_DIR=\"/commented\"", dir.wpath() + L"/Desktop"},
  };
  for (const Case& c : cases) {
    WriteFile(dir.File("config/user-dirs.dirs"),
              "# written by xdg-user-dirs-update\nXDG_DOWNLOAD_DIR=\"$HOME/dl\"\n" + c.line + "\n");
    EXPECT_EQ(platform::GetDesktopDir(), c.desktop) << c.line;
  }
}

TEST(Paths, ProgramFilesDependsOnWritableOpt) {
  const std::wstring expected = ::access("/opt", W_OK) == 0
      ? L"/opt" : platform::GetHomeDir() + L"/.local/opt";
  EXPECT_EQ(platform::GetProgramFilesDir(), expected);
}

TEST(Paths, CreateDirectoriesAndQueries) {
  TempDir dir;
  const std::wstring deep = dir.wpath() + L"/a/\u00fc/c";
  EXPECT_FALSE(platform::PathExists(deep));
  EXPECT_TRUE(platform::CreateDirectories(deep));
  EXPECT_TRUE(platform::CreateDirectories(deep));  // already there
  EXPECT_TRUE(platform::IsDirectory(deep));

  WriteFile(dir.File("file"), "x");
  EXPECT_TRUE(platform::PathExists(dir.WFile("file")));
  EXPECT_FALSE(platform::IsDirectory(dir.WFile("file")));
  EXPECT_FALSE(platform::CreateDirectories(dir.WFile("file")));
  EXPECT_FALSE(platform::CreateDirectories(dir.WFile("file/below")));
  EXPECT_FALSE(platform::CreateDirectories(L""));
}

}  // namespace
