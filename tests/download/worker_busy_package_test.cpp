// A package left running as a program (an earlier run's installer) cannot
// be opened for writing (ETXTBSY); the pool ends that program and opens it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "download/CDownloadThreadManager.h"
#include "fixtures/child_process.h"
#include "fixtures/temp_dir.h"
#include "platform/process_list.h"
#include "worker_test_support.h"

namespace {

TEST(WorkerPoolBusyPackage, RunningCopyAtThePackagePathIsEndedAndTheFileOpened) {
  test::TempDir dir;
  const std::string package = dir.File("package.exe");
  std::filesystem::copy_file("/bin/sleep", package);
  ASSERT_EQ(chmod(package.c_str(), 0700), 0);
  test::ChildProcess running({package, "60"});
  ASSERT_TRUE(running.started());
  // posix_spawn returns once the program runs, so the file is busy now.
  ASSERT_EQ(std::fopen(package.c_str(), "rb+"), nullptr);
  ASSERT_EQ(errno, ETXTBSY);
  // The kernel renames the new program a moment after the file became busy.
  ASSERT_TRUE(test::WaitUntil([] {
    const auto processes = platform::ListProcesses();
    return processes && std::any_of(processes->begin(), processes->end(),
                                    [](const platform::ProcessEntry& p) {
                                      return p.name == L"package.exe";
                                    });
  }));

  test::LogCapture log;
  const auto before = std::filesystem::file_size(package);
  CDownloadThreadManager pool(package);
  EXPECT_EQ(pool.createThreads(2), 2);
  EXPECT_TRUE(running.WaitForExit(std::chrono::seconds(20)).has_value());
  EXPECT_TRUE(test::Logged(log, "local file is NULL error code = " + std::to_string(ETXTBSY)));
  const std::vector<std::string> lines = log.lines();
  EXPECT_EQ(std::find_if(lines.begin(), lines.end(),
                         [](const std::string& line) {
                           return line.starts_with("after kill local file is NULL");
                         }),
            lines.end());
  pool.closePackageFile();
  // Opened for update, not truncated.
  EXPECT_EQ(std::filesystem::file_size(package), before);
}

}  // namespace
