#include "platform/process_list.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

#include "fixtures/child_process.h"
#include "fixtures/temp_dir.h"
#include "platform/paths.h"

namespace {

using namespace std::chrono_literals;

// Lists from a made-up /proc for one scope.
class ScopedProcRoot {
 public:
  explicit ScopedProcRoot(const std::wstring& dir) { platform::SetProcRootForTesting(dir); }
  ~ScopedProcRoot() { platform::SetProcRootForTesting(L""); }
  ScopedProcRoot(const ScopedProcRoot&) = delete;
  ScopedProcRoot& operator=(const ScopedProcRoot&) = delete;
};

TEST(ProcessList, HoldsThisProcessWithItsKernelNameAndImage) {
  const auto processes = platform::ListProcesses();
  ASSERT_TRUE(processes);
  const std::wstring exe = platform::GetExecutablePath();
  const std::wstring expectedName =
      std::filesystem::path(exe).filename().wstring().substr(0, platform::kProcessNameMaxBytes);
  bool found = false;
  for (const platform::ProcessEntry& process : *processes) {
    if (process.pid == getpid()) {
      found = true;
      EXPECT_EQ(process.name, expectedName);
    }
  }
  EXPECT_TRUE(found);
  EXPECT_EQ(platform::ProcessImagePath(getpid()), exe);
}

TEST(ProcessList, KillEndsTheProcessAndAGoneOneHasNoImage) {
  test::TempDir dir;
  const std::filesystem::path sleeper = dir.path() / "sleeper";
  std::filesystem::copy_file("/bin/sleep", sleeper);
  test::ChildProcess child({sleeper.string(), "30"});
  ASSERT_TRUE(child.started());
  int pid = 0;
  // The child may not have reached exec yet: its name changes then.
  for (int attempt = 0; attempt < 500 && pid == 0; ++attempt) {
    const std::vector<platform::ProcessEntry> processes = platform::ListProcesses().value();
    for (const platform::ProcessEntry& process : processes) {
      if (process.name == L"sleeper" && platform::ProcessImagePath(process.pid) == sleeper.wstring()) {
        pid = process.pid;
      }
    }
    if (pid == 0) std::this_thread::sleep_for(10ms);
  }
  ASSERT_NE(pid, 0);
  EXPECT_EQ(platform::KillProcess(pid), 0);
  EXPECT_EQ(child.WaitForExit(10s), -1);  // by a signal
  EXPECT_TRUE(platform::ProcessImagePath(pid).empty());
  EXPECT_EQ(platform::KillProcess(pid), ESRCH);
}

TEST(ProcessList, IdsThatNameGroupsAreRefused) {
  for (const int pid : {0, -1, -1234}) EXPECT_EQ(platform::KillProcess(pid), ESRCH) << pid;
}

TEST(ProcessList, AMadeUpRootIsReadLikeProc) {
  test::TempDir dir;
  dir.Write("12/comm", "setup.tmp\n");
  dir.Write("345/comm", "a name of 15 ch\n");
  dir.Write("77/status", "no comm: ended while listed\n");
  dir.Write("self/comm", "not a process\n");
  dir.Write("sys/x", "");
  std::filesystem::create_symlink("/bin/sleep", dir.path() / "12" / "exe");
  const ScopedProcRoot root(dir.wpath());
  const auto processes = platform::ListProcesses();
  ASSERT_TRUE(processes);
  ASSERT_EQ(processes->size(), 2u);
  for (const platform::ProcessEntry& process : *processes) {
    EXPECT_EQ(process.name, process.pid == 12 ? L"setup.tmp" : L"a name of 15 ch");
  }
  EXPECT_EQ(platform::ProcessImagePath(12), L"/bin/sleep");
  EXPECT_TRUE(platform::ProcessImagePath(345).empty());
}

TEST(ProcessList, AnUnreadableRootGivesNoList) {
  test::TempDir dir;
  const ScopedProcRoot root(dir.wpath() + L"/missing");
  EXPECT_FALSE(platform::ListProcesses());
}

}  // namespace
