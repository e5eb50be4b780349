#include "platform/process_start.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <optional>
#include <sstream>
#include <thread>

#include "fixtures/scoped_env.h"
#include "fixtures/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A script that writes what its process sees to `report` (written aside
// and renamed, so a reader never sees half of it) and then exits.
fs::path ReportingScript(const fs::path& folder, const fs::path& report) {
  const fs::path script = folder / "report.sh";
  test::WriteFile(script,
                  "#!/bin/sh\n"
                  "{ echo \"pid=$$\"; echo \"cwd=$(pwd)\"; echo \"uid=$(id -u)\"; echo \"gid=$(id -g)\";\n"
                  "  echo \"home=$HOME\"; echo \"sudo=${SUDO_UID-unset}\";\n"
                  "  echo \"sid=$(cut -d' ' -f6 /proc/$$/stat)\";\n"
                  "  echo \"ppid=$(cut -d' ' -f4 /proc/$$/stat)\";\n"
                  "  for a in \"$@\"; do echo \"arg=$a\"; done; } > '" +
                      report.string() + ".part'\n"
                  "mv '" + report.string() + ".part' '" + report.string() + "'\n");
  fs::permissions(script, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
  return script;
}

// The report's lines once the script has written it.
std::optional<std::vector<std::string>> WaitForReport(const fs::path& report) {
  for (int attempt = 0; attempt < 1000 && !fs::exists(report); ++attempt) {
    std::this_thread::sleep_for(10ms);
  }
  if (!fs::exists(report)) return std::nullopt;
  std::vector<std::string> lines;
  std::istringstream text(test::ReadFile(report));
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  return lines;
}

std::string Value(const std::vector<std::string>& lines, const std::string& key) {
  for (const std::string& line : lines) {
    if (line.starts_with(key + "=")) return line.substr(key.size() + 1);
  }
  return "<none>";
}

// Ends once /proc has no entry left for `pid`: no zombie stays behind.
bool Vanishes(const std::string& pid) {
  for (int attempt = 0; attempt < 1000; ++attempt) {
    if (!fs::exists("/proc/" + pid)) return true;
    std::this_thread::sleep_for(10ms);
  }
  return false;
}

std::wstring Wide(const fs::path& path) { return path.wstring(); }

TEST(StartProcess, RunsInTheGivenFolderWithItsArgumentsAndIsReaped) {
  test::TempDir dir;
  const fs::path folder = dir.path() / "My Apps" / "Prod";
  fs::create_directories(folder);
  const fs::path report = dir.path() / "report";
  const fs::path script = ReportingScript(folder, report);
  ASSERT_EQ(platform::StartProcess({Wide(script), L"two words", L"ünï"}, Wide(folder) + L"/"), 0);
  const auto lines = WaitForReport(report);
  ASSERT_TRUE(lines);
  EXPECT_EQ(Value(*lines, "cwd"), folder.string());
  EXPECT_EQ(Value(*lines, "ppid"), std::to_string(getpid()));
  const std::vector<std::string> expectedArgs = {"arg=two words", "arg=ünï"};
  EXPECT_EQ(std::vector<std::string>(lines->end() - 2, lines->end()), expectedArgs);
  EXPECT_TRUE(Vanishes(Value(*lines, "pid")));
}

TEST(StartProcess, WithoutAFolderRunsInOurs) {
  test::TempDir dir;
  const fs::path report = dir.path() / "report";
  const fs::path script = ReportingScript(dir.path(), report);
  ASSERT_EQ(platform::StartProcess({Wide(script)}, L""), 0);
  const auto lines = WaitForReport(report);
  ASSERT_TRUE(lines);
  EXPECT_EQ(Value(*lines, "cwd"), fs::current_path().string());
}

TEST(StartProcess, FailuresGiveTheirErrno) {
  test::TempDir dir;
  const fs::path plain = dir.path() / "plain.txt";
  test::WriteFile(plain, "not a program");
  const fs::path script = ReportingScript(dir.path(), dir.path() / "report");
  struct Case {
    std::vector<std::wstring> argv;
    std::wstring folder;
    int error;
  } const cases[] = {
      {{Wide(dir.path() / "missing")}, L"", ENOENT},
      {{Wide(plain)}, L"", EACCES},
      {{Wide(script)}, Wide(dir.path() / "no such folder") + L"/", ENOENT},
      {{}, L"", EINVAL},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    EXPECT_EQ(platform::StartProcess(c.argv, c.folder), c.error) << i;
    // The detached start has no folder to fail on.
    if (c.folder.empty()) {
      EXPECT_EQ(platform::StartDetachedProcess(c.argv), c.error) << i;
    }
  }
}

// Not the caller's child nor in its session; as the caller when nobody
// else is to be served.
TEST(StartDetachedProcess, RunsInASessionOfItsOwnAndIsNoChildOfOurs) {
  test::ScopedEnv noSudo("SUDO_UID", std::nullopt);
  test::ScopedEnv noPkexec("PKEXEC_UID", std::nullopt);
  test::TempDir dir;
  const fs::path report = dir.path() / "report";
  const fs::path script = ReportingScript(dir.path(), report);
  ASSERT_EQ(platform::StartDetachedProcess({Wide(script), L"an argument"}), 0);
  const auto lines = WaitForReport(report);
  ASSERT_TRUE(lines);
  EXPECT_NE(Value(*lines, "sid"), std::to_string(getsid(0)));
  EXPECT_NE(Value(*lines, "ppid"), std::to_string(getpid()));
  EXPECT_EQ(Value(*lines, "uid"), std::to_string(geteuid()));
  EXPECT_EQ(Value(*lines, "arg"), "an argument");
}

TEST(StartDetachedProcess, RootStartsAsTheUserItActsFor) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root";
  struct Case {
    const char* variable;
    std::optional<std::string> gid;  // SUDO_GID
    const char* expectedGid;
  } const cases[] = {
      {"SUDO_UID", "65534", "65534"},
      {"PKEXEC_UID", std::nullopt, "65534"},  // the group from the password database
  };
  for (const Case& c : cases) {
    test::ScopedEnv noSudo("SUDO_UID", std::nullopt);
    test::ScopedEnv noPkexec("PKEXEC_UID", std::nullopt);
    test::ScopedEnv user(c.variable, "65534");
    test::ScopedEnv group("SUDO_GID", c.gid);
    test::TempDir dir;
    fs::permissions(dir.path(), fs::perms::all);  // the user writes the report here
    const fs::path report = dir.path() / "report";
    const fs::path script = ReportingScript(dir.path(), report);
    ASSERT_EQ(platform::StartDetachedProcess({Wide(script)}), 0) << c.variable;
    const auto lines = WaitForReport(report);
    ASSERT_TRUE(lines) << c.variable;
    EXPECT_EQ(Value(*lines, "uid"), "65534") << c.variable;
    EXPECT_EQ(Value(*lines, "gid"), c.expectedGid) << c.variable;
    EXPECT_EQ(Value(*lines, "home"), "/nonexistent") << c.variable;
    EXPECT_EQ(Value(*lines, "sudo"), "unset") << c.variable;
  }
}

TEST(StartDetachedProcess, AUserWithoutAGroupIsRefused) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root";
  test::ScopedEnv noSudo("SUDO_UID", std::nullopt);
  test::ScopedEnv user("PKEXEC_UID", "3999999");  // in no password database
  test::TempDir dir;
  const fs::path script = ReportingScript(dir.path(), dir.path() / "report");
  EXPECT_EQ(platform::StartDetachedProcess({Wide(script)}), ESRCH);
}

}  // namespace
