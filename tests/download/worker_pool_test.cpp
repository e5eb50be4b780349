// The download pool against a local server that misbehaves on purpose.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "download/CDownloadThreadManager.h"
#include "fixtures/child_process.h"
#include "fixtures/fault_http_server.h"
#include "fixtures/temp_dir.h"
#include "worker_test_support.h"
#include "worker_user_log.h"

namespace {

class WorkerPoolTest : public ::testing::Test {
 protected:
  static constexpr std::int64_t kLength = 65536 + 123;

  // Tasks of `taskSize` bytes for the served file at "/pkg.bin".
  std::vector<std::unique_ptr<CTask>> Tasks(std::int64_t taskSize) {
    return test::SplitIntoTasks(server_.url("/pkg.bin"), path_, kLength, taskSize);
  }

  test::TempDir dir_;
  test::FaultHttpServer server_;
  const std::string content_ = test::Pattern(kLength);
  const std::string path_ = dir_.File("package.bin");
};

TEST_F(WorkerPoolTest, FourWorkersFillThePackageWithManySmallTasks) {
  server_.ServeFile("/pkg.bin", content_);
  const auto tasks = Tasks(1000);
  CDownloadThreadManager pool(path_);
  ASSERT_EQ(pool.createThreads(4), 4);
  ASSERT_TRUE(test::RunRound(pool, tasks));
  for (const auto& task : tasks) {
    EXPECT_EQ(task->TaskStatus, 1) << task->TaskId;
    EXPECT_EQ(task->DownloadedPos, task->EndPos) << task->TaskId;
    EXPECT_EQ(task->RequestTimes, 0) << task->TaskId;
  }
  // Unbuffered: the bytes are in the file while it is still open.
  EXPECT_TRUE(test::ReadFile(path_) == content_);
  EXPECT_EQ(server_.requests().size(), tasks.size());
  pool.stopThreads();
  pool.releaseThreads();
  EXPECT_FALSE(pool.hasFreeThread());
}

TEST_F(WorkerPoolTest, ResumesIntoAnExistingPackageWithoutTruncatingIt) {
  server_.ServeFile("/pkg.bin", content_);
  // The first half is already there from an earlier round.
  constexpr std::int64_t kTaskSize = kLength / 2 + 1;
  test::WriteFile(path_, content_.substr(0, kTaskSize));
  auto tasks = Tasks(kTaskSize);
  ASSERT_EQ(tasks.size(), 2u);
  tasks[0]->DownloadedPos = tasks[0]->EndPos;
  CDownloadThreadManager pool(path_);
  ASSERT_TRUE(pool.localFileExists());
  ASSERT_EQ(pool.createThreads(2), 2);
  ASSERT_TRUE(test::RunRound(pool, tasks));
  EXPECT_EQ(tasks[0]->TaskStatus, 1);
  EXPECT_EQ(tasks[1]->TaskStatus, 1);
  EXPECT_TRUE(test::ReadFile(path_) == content_);
  // The finished task needed no request.
  ASSERT_EQ(server_.requests().size(), 1u);
  EXPECT_EQ(server_.requests()[0].headers["range"], "bytes=32830-65659");
}

TEST_F(WorkerPoolTest, FailedRequestsMarkTheTaskFailedAndCountIt) {
  server_.ServeFile("/pkg.bin", content_, {.cutAfterBytes = 300});
  auto tasks = Tasks(1000);
  tasks.resize(1);
  tasks.push_back(std::move(Tasks(1000)[5]));
  tasks[1]->RemotePath = server_.url("/missing.bin");  // 404
  CDownloadThreadManager pool(path_);
  ASSERT_EQ(pool.createThreads(2), 2);
  for (int round = 1; round <= 2; ++round) {
    ASSERT_TRUE(test::RunRound(pool, tasks));
    for (const auto& task : tasks) {
      EXPECT_EQ(task->TaskStatus, 2) << task->TaskId;
      EXPECT_EQ(task->RequestTimes, round) << task->TaskId;
    }
  }
  // The bytes that came before each cut are kept; the next request resumes.
  EXPECT_EQ(tasks[0]->DownloadedPos, 600);
  EXPECT_TRUE(test::ReadFile(path_) == content_.substr(0, 600));
  EXPECT_EQ(tasks[1]->DownloadedPos, tasks[1]->StartPos);
}

TEST_F(WorkerPoolTest, StopWhileIdleEndsEveryThreadPromptly) {
  test::LogCapture log;
  CDownloadThreadManager pool(path_);
  ASSERT_EQ(pool.createThreads(4), 4);
  // Let them reach their waits; the stop must wake them from there.
  ASSERT_TRUE(test::WaitUntil([&] {
    int waiting = 0;
    for (const std::string& line : log.lines()) waiting += line.starts_with(" wait before thread ");
    return waiting == 4;
  }));
  const auto start = std::chrono::steady_clock::now();
  pool.stopThreads();
  // One thread missing its stop would cost a 30-second wait.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  EXPECT_TRUE(test::Logged(log, " start wait threads exit"));
  EXPECT_TRUE(test::Logged(log, " end wait threads exit"));
  while (CThread* worker = pool.getOneFreeThreads()) {
    EXPECT_TRUE(worker->join(0));
    EXPECT_EQ(worker->state(), CThread::kStop);
  }
}

TEST_F(WorkerPoolTest, NoFreeWorkerLeavesTheTaskHandedOut) {
  test::LogCapture log;
  CDownloadThreadManager pool(path_);
  EXPECT_EQ(pool.createThreads(0), 0);
  CTask task;
  task.TaskId = 7;
  task.TaskStatus = 3;
  EXPECT_EQ(pool.giveTaskToAThreadTodo(&task), 0);
  EXPECT_EQ(task.TaskStatus, 3);
  EXPECT_TRUE(test::Logged(log, "is no free threads"));
  EXPECT_TRUE(test::Logged(log, "get free thread is null7"));
}

TEST_F(WorkerPoolTest, PackageThatCannotBeOpenedStartsNoWorker) {
  test::LogCapture log;
  CDownloadThreadManager pool(dir_.File("no-such-folder/package.bin"));
  EXPECT_FALSE(pool.localFileExists());
  EXPECT_EQ(pool.createThreads(4), -1);
  EXPECT_FALSE(pool.hasFreeThread());
  EXPECT_TRUE(test::Logged(log, "local file is NULL error code = 2"));
  EXPECT_TRUE(test::Logged(log, "after kill local file is NULL error code = 2"));
  EXPECT_TRUE(test::WaitUntil([] {
    for (const test::RecordedRequest& hit : test::WorkerUserLogServer().requests()) {
      if (hit.path == "/g/collect" && hit.query.find("OpenFileErrCode") != std::string::npos &&
          hit.query.find("Other") != std::string::npos) {
        return true;
      }
    }
    return false;
  })) << "no OpenFileErrCode event";
}

// A file-size limit must fail the task with the bytes really written, not
// kill the process with SIGXFSZ. The limit is set in a child run of this
// test program so that it binds nobody else.
TEST_F(WorkerPoolTest, FileSizeLimitFailsTheTaskWithTheBytesWritten) {
  constexpr char kLimitVariable[] = "WORKER_POOL_TEST_FILE_SIZE_LIMIT";
  constexpr rlim_t kLimit = 2500;
  if (!std::getenv(kLimitVariable)) {
    test::ChildProcess child(
        {std::filesystem::read_symlink("/proc/self/exe").string(),
         "--gtest_filter=WorkerPoolTest.FileSizeLimitFailsTheTaskWithTheBytesWritten"},
        {{kLimitVariable, "1"}});
    ASSERT_TRUE(child.started());
    EXPECT_EQ(child.Wait(), 0) << "the child run failed or was killed";
    return;
  }
  server_.ServeFile("/pkg.bin", content_);
  const rlimit limit{kLimit, kLimit};
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  const auto tasks = Tasks(kLength);
  CDownloadThreadManager pool(path_);
  ASSERT_EQ(pool.createThreads(1), 1);
  ASSERT_TRUE(test::RunRound(pool, tasks));
  EXPECT_EQ(tasks[0]->TaskStatus, 2);
  EXPECT_EQ(tasks[0]->RequestTimes, 1);
  EXPECT_EQ(tasks[0]->DownloadedPos, static_cast<std::int64_t>(kLimit));
  EXPECT_TRUE(test::ReadFile(path_) == content_.substr(0, kLimit));
}

TEST(DownloadWorkerCount, IsEightFifthsOfTheProcessorsAndAtLeastFour) {
  const struct {
    unsigned processors;
    int workers;
  } cases[] = {{0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 6}, {8, 12}, {16, 25}, {64, 102}};
  for (const auto& c : cases) {
    EXPECT_EQ(DownloadWorkerCount(c.processors), c.workers) << c.processors;
  }
}

}  // namespace
