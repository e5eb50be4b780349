// Finding and ending the processes that run a package, with real children.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "fixtures/child_process.h"
#include "fixtures/log_capture.h"
#include "fixtures/temp_dir.h"
#include "platform/paths.h"
#include "platform/process_list.h"
#include "system/process_control.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A copy of sleep running under `name` in the test's folder.
struct Sleeper {
  fs::path path;
  std::unique_ptr<test::ChildProcess> process;
  int pid = 0;
};

class FindProcess : public ::testing::Test {
 protected:
  // Names carry our pid: test programs running side by side must not end
  // each other's installer copies.
  std::string Unique(const std::string& stem, const std::string& extension) const {
    return stem + "-" + std::to_string(getpid()) + extension;
  }

  Sleeper Run(const std::string& name) {
    Sleeper sleeper;
    sleeper.path = dir_.path() / name;
    fs::copy_file("/bin/sleep", sleeper.path);
    sleeper.process = std::make_unique<test::ChildProcess>(std::vector<std::string>{sleeper.path.string(), "60"});
    EXPECT_TRUE(sleeper.process->started());
    sleeper.pid = WaitForImage(sleeper.path);
    EXPECT_NE(sleeper.pid, 0) << name;
    return sleeper;
  }

  // The process running `path`, once its exec is done; 0 when none shows.
  static int WaitForImage(const fs::path& path) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
      const std::vector<platform::ProcessEntry> processes = platform::ListProcesses().value();
      for (const platform::ProcessEntry& process : processes) {
        if (platform::ProcessImagePath(process.pid) == path.wstring()) return process.pid;
      }
      std::this_thread::sleep_for(10ms);
    }
    return 0;
  }

  static bool Runs(Sleeper& sleeper) { return !sleeper.process->WaitForExit(0ms).has_value(); }
  static bool Ended(Sleeper& sleeper) { return sleeper.process->WaitForExit(10s) == -1; }

  static bool Logged(const test::LogCapture& log, const std::string& line) {
    const std::vector<std::string> lines = log.lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  test::TempDir dir_;
};

TEST_F(FindProcess, MatchesThePathRegardlessOfCase) {
  Sleeper setup = Run(Unique("Setup", ".EXE"));
  test::LogCapture log;
  const fs::path lower = dir_.path() / Unique("setup", ".exe");
  EXPECT_EQ(FuntionImpl::FindProcessByFullPath(lower.wstring(), false, false), setup.pid);
  EXPECT_TRUE(Runs(setup));
  EXPECT_TRUE(Logged(log, " Find proc: " + std::to_string(setup.pid)));
  const std::string length = std::to_string(setup.path.wstring().size());
  EXPECT_TRUE(Logged(log, " Get proc info: " + length + ", " + length));
}

TEST_F(FindProcess, EndsOnlyTheExactPathWithoutTheInstallerCopyFlag) {
  Sleeper setup = Run(Unique("Setup", ".EXE"));
  Sleeper copy = Run(Unique("setup", ".tmp"));
  // Same name, other folder: not the package.
  fs::create_directories(dir_.path() / "other");
  Sleeper elsewhere = Run("other/" + Unique("Setup", ".EXE"));
  test::LogCapture log;
  EXPECT_EQ(FuntionImpl::FindProcessByFullPath(setup.path.wstring(), true, false), setup.pid);
  EXPECT_TRUE(Ended(setup));
  EXPECT_TRUE(Logged(log, " Kill proc: 1, 0"));
  EXPECT_TRUE(Runs(copy));
  EXPECT_TRUE(Runs(elsewhere));
}

TEST_F(FindProcess, EndsEveryInstallerCopyAndGivesTheLastId) {
  Sleeper setup = Run(Unique("Setup", ".EXE"));
  Sleeper copy = Run(Unique("setup", ".tmp"));
  fs::create_directories(dir_.path() / "unpacked");
  Sleeper unpacked = Run("unpacked/" + Unique("SETUP", ".TMP"));
  const int found = FuntionImpl::FindProcessByFullPath(setup.path.wstring(), true, true);
  EXPECT_TRUE(found == setup.pid || found == copy.pid || found == unpacked.pid) << found;
  EXPECT_TRUE(Ended(setup));
  EXPECT_TRUE(Ended(copy));
  EXPECT_TRUE(Ended(unpacked));
}

TEST_F(FindProcess, NamesLongerThanTheKernelKeepsStillMatch) {
  Sleeper longName = Run(Unique("a-rather-long-package-name", ".exe"));
  const fs::path samePrefix = dir_.path() / Unique("a-rather-long-package-other", ".exe");
  EXPECT_EQ(FuntionImpl::FindProcessByFullPath(samePrefix.wstring(), false, false), -1);
  EXPECT_EQ(FuntionImpl::FindProcessByFullPath(longName.path.wstring(), true, false), longName.pid);
  EXPECT_TRUE(Ended(longName));
}

TEST_F(FindProcess, NoMatchGivesMinusOne) {
  Sleeper setup = Run(Unique("Setup", ".EXE"));
  for (const bool installerCopy : {false, true}) {
    EXPECT_EQ(FuntionImpl::FindProcessByFullPath((dir_.path() / "absent.exe").wstring(), true,
                                                 installerCopy),
              -1);
    EXPECT_EQ(FuntionImpl::FindProcessByFullPath(L"", true, installerCopy), -1);
  }
  EXPECT_TRUE(Runs(setup));
}

TEST_F(FindProcess, TheOwnProcessIsNeverEnded) {
  test::LogCapture log;
  for (const bool installerCopy : {false, true}) {
    EXPECT_EQ(FuntionImpl::FindProcessByFullPath(platform::GetExecutablePath(), true, installerCopy),
              -1);
  }
  EXPECT_TRUE(Logged(log, " Find proc: " + std::to_string(getpid())));
}

TEST_F(FindProcess, AnUnreadableProcessListGivesMinusTwo) {
  platform::SetProcRootForTesting(dir_.wpath() + L"/no-proc");
  const int result = FuntionImpl::FindProcessByFullPath(L"/opt/prod/setup.exe", true, true);
  platform::SetProcRootForTesting(L"");
  EXPECT_EQ(result, -2);
}

}  // namespace
