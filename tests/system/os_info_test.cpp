// The operating system's name: the Windows table and the Linux os-release
// form.
#include <gtest/gtest.h>

#include <optional>

#include "platform/fake_system_facts.h"
#include "system/os_info.h"
#include "system/windows_os_name.h"

namespace {

// Stands for "the caller's version is left as it is".
constexpr float kUntouched = -3.5f;

WindowsVersionFacts Nt(std::uint32_t build, std::uint32_t major, std::uint32_t minor) {
  WindowsVersionFacts facts;
  facts.currentBuild = build;
  facts.ntMajor = major;
  facts.ntMinor = minor;
  return facts;
}

// GetVersionExW answering, with neither a Windows 11 build nor the ntdll
// numbers to go by.
WindowsVersionFacts VersionEx(std::uint32_t major, std::uint32_t minor, bool workstation = true) {
  WindowsVersionFacts facts;
  facts.versionExAvailable = true;
  facts.major = major;
  facts.minor = minor;
  facts.ntPlatform = true;
  facts.workstation = workstation;
  return facts;
}

TEST(WindowsOsName, FollowsTheWindowsTable) {
  struct Case {
    const char* what;
    WindowsVersionFacts facts;
    const char* name;
    std::optional<float> version;  // nullopt: untouched
  };
  const Case cases[] = {
      {"11 by its build", Nt(22000, 10, 0), "Windows 11", 11.0f},
      {"11 before the ntdll numbers", Nt(22631, 6, 3), "Windows 11", 11.0f},
      {"last build of 10", Nt(21999, 10, 0), "Windows 10", 10.0f},
      {"10 22H2", Nt(19045, 10, 0), "Windows 10", 10.0f},
      {"8.1", Nt(9600, 6, 3), "Windows 8.1", 8.1f},
      {"ntdll 6.2 falls through",
       {.ntMajor = 6, .ntMinor = 2, .versionExAvailable = true, .major = 6, .minor = 2,
        .ntPlatform = true, .workstation = true},
       "Windows 8", 8.0f},
      {"8", VersionEx(6, 2), "Windows 8", 8.0f},
      {"Server 2012", VersionEx(6, 2, false), "Windows Server 2012", 8.0f},
      {"7", VersionEx(6, 1), "Windows 7", 7.0f},
      {"Server 2008 R2", VersionEx(6, 1, false), "Windows Server 2008 R2", 7.0f},
      {"Vista", VersionEx(6, 0), "Windows Vista", 6.0f},
      {"Server 2008", VersionEx(6, 0, false), "Windows Server 2008", 6.0f},
      {"XP x64",
       {.versionExAvailable = true, .major = 5, .minor = 2, .ntPlatform = true,
        .workstation = true, .x64Processor = true},
       "Windows XP Professional x64 Edition", 5.0f},
      {"x64 server is no XP",
       {.versionExAvailable = true, .major = 5, .minor = 2, .ntPlatform = true,
        .x64Processor = true},
       "Windows Server 2003", 5.0f},
      {"Server 2003", VersionEx(5, 2, false), "Windows Server 2003", 5.0f},
      {"Server 2003 R2",
       {.versionExAvailable = true, .major = 5, .minor = 2, .ntPlatform = true, .serverR2 = true},
       "Windows Server 2003 R2", 5.0f},
      {"XP", VersionEx(5, 1), "Windows XP", 4.0f},
      {"2000", VersionEx(5, 0), "Windows 2000", 3.0f},
      {"Me", VersionEx(4, 90), "Microsoft Windows Me", 2.0f},
      {"98", VersionEx(4, 10), "Windows 98", 1.0f},
      {"NT 4.0", VersionEx(4, 0), "Windows NT 4.0", 0.0f},
      {"95", {.versionExAvailable = true, .major = 4, .minor = 0}, "Windows 95", 0.0f},
      {"unknown minor 6.4", VersionEx(6, 4), "", std::nullopt},
      {"unknown minor 5.3", VersionEx(5, 3), "", std::nullopt},
      {"unknown minor 4.5", VersionEx(4, 5), "", std::nullopt},
      {"unknown major 3", VersionEx(3, 51), "Error", std::nullopt},
      {"10 without ntdll", VersionEx(10, 0), "Error", std::nullopt},
      {"nothing readable", WindowsVersionFacts{}, "", std::nullopt},
  };
  for (const Case& c : cases) {
    float version = kUntouched;
    EXPECT_EQ(WindowsOsName(c.facts, version), c.name) << c.what;
    EXPECT_FLOAT_EQ(version, c.version.value_or(kUntouched)) << c.what;
  }
}

TEST(OsName, IsTheOsReleaseNameAndVersion) {
  struct Case {
    const char* name;
    const char* versionId;
    const char* osName;
    std::optional<float> version;  // nullopt: untouched
  };
  const Case cases[] = {
      {"Debian GNU/Linux", "12", "Debian GNU/Linux 12", 12.0f},
      {"Ubuntu", "24.04", "Ubuntu 24.04", 24.04f},
      {"Fedora Linux", "40", "Fedora Linux 40", 40.0f},
      {"openSUSE Leap", "15.5", "openSUSE Leap 15.5", 15.5f},
      {"Arch Linux", "", "Arch Linux", std::nullopt},
      {"Linux", "", "Linux", std::nullopt},
      {"Some Linux", "rolling", "Some Linux rolling", std::nullopt},
      {"Odd Linux", "inf", "Odd Linux inf", std::nullopt},
      {"Odd Linux", "1e400", "Odd Linux 1e400", 1.0f},  // the leading number only
  };
  platform::FakeSystemFacts fake;
  platform::FakeSystemFacts::Installed installed(fake);
  for (const Case& c : cases) {
    fake.osRelease = {c.name, c.versionId};
    float version = kUntouched;
    EXPECT_EQ(GetOsName(version), c.osName);
    EXPECT_FLOAT_EQ(version, c.version.value_or(kUntouched)) << c.osName;
  }
}

TEST(OsName, VersionBeyondFloatLeavesTheCallersVersion) {
  platform::FakeSystemFacts fake;
  platform::FakeSystemFacts::Installed installed(fake);
  fake.osRelease = {"Odd Linux", std::string(60, '9')};
  float version = kUntouched;
  EXPECT_EQ(GetOsName(version), "Odd Linux " + std::string(60, '9'));
  EXPECT_FLOAT_EQ(version, kUntouched);
}

TEST(IsWow64, MeansA64BitSystem) {
  platform::FakeSystemFacts fake;
  platform::FakeSystemFacts::Installed installed(fake);
  fake.is64BitOs = true;
  EXPECT_TRUE(IsWow64());
  fake.is64BitOs = false;
  EXPECT_FALSE(IsWow64());
}

}  // namespace
