// The split into 4 MiB ranges and the three task lists.
#include <gtest/gtest.h>

#include "download/error_code.h"
#include "task_test_support.h"

namespace {

constexpr std::int64_t kMiB4 = 4194304;

struct SplitCase {
  std::int64_t length;
  std::int32_t tasks;
};

class TaskSplit : public test::TaskManagerTest,
                  public ::testing::WithParamInterface<SplitCase> {};

TEST_P(TaskSplit, TilesTheFileWithTheRemainderInTheFinalTask) {
  const SplitCase c = GetParam();
  const std::string url = server_.url("/known.exe");
  // Known lengths are not probed again: no request reaches the server.
  harness_.log->SetUrlContentLength(url, c.length);
  const auto manager = Manager(url);
  ASSERT_EQ(manager->generateDownloadTask(0, ""), kDownloadOk);
  EXPECT_TRUE(server_.requests().empty());
  EXPECT_EQ(manager->ContentLength, c.length);
  EXPECT_EQ(manager->TasksCount, c.tasks);
  ASSERT_EQ(manager->allTasks().size(), static_cast<std::size_t>(c.tasks));
  EXPECT_EQ(manager->todoTasks(), manager->allTasks());
  EXPECT_TRUE(manager->handedOutTasks().empty());
  for (std::int32_t i = 0; i < c.tasks; ++i) {
    const CTask& task = *manager->allTasks()[i];
    const bool final = i == c.tasks - 1;
    EXPECT_EQ(task.TaskId.load(), i + 1);
    EXPECT_EQ(task.StartPos, i * kMiB4);
    EXPECT_EQ(task.DownloadedPos.load(), task.StartPos);
    EXPECT_EQ(task.EndPos, final ? c.length : (i + 1) * kMiB4 - 1) << i;
    EXPECT_EQ(task.TaskStatus.load(), 0);
    EXPECT_EQ(task.contentLength, c.length);
    EXPECT_EQ(task.RemotePath, url);
    EXPECT_EQ(task.LocalPath, package_);
    EXPECT_EQ(task.RequestTimes, 0);
  }
  EXPECT_EQ(LinesStartingWith(" Tasks info, generate ok"),
            std::vector<std::string>{" Tasks info, generate ok, total " +
                                     std::to_string(c.tasks) + ", todo " +
                                     std::to_string(c.tasks) + ", complete 0"});
}

INSTANTIATE_TEST_SUITE_P(Lengths, TaskSplit,
                         ::testing::Values(SplitCase{1, 1}, SplitCase{100, 1},
                                           SplitCase{kMiB4 - 1, 1}, SplitCase{kMiB4, 1},
                                           SplitCase{2 * kMiB4 - 1, 1}, SplitCase{2 * kMiB4, 2},
                                           SplitCase{10485760, 2}, SplitCase{3 * kMiB4 - 1, 2},
                                           // Beyond 32 bits.
                                           SplitCase{5368709243, 1280}));

using TaskLists = test::TaskManagerTest;

TEST_F(TaskLists, DoneTasksAreHandedOutAlreadyAndTheRestWaitInOrder) {
  const auto manager = Manager(server_.url("/p.exe"));
  std::vector<CTask*> tasks;
  for (const int status : {1, 0, 2, 3, 1}) {
    tasks.push_back(new CTask);
    tasks.back()->TaskStatus = status;
    manager->addTask(tasks.back());
  }
  EXPECT_EQ(manager->allTasks(), tasks);
  EXPECT_EQ(manager->handedOutTasks(), (std::vector<CTask*>{tasks[0], tasks[4]}));
  EXPECT_EQ(manager->todoTasks(), (std::vector<CTask*>{tasks[1], tasks[2], tasks[3]}));

  for (const std::size_t next : {1u, 2u, 3u}) {
    EXPECT_EQ(manager->getTask(), tasks[next]);
    EXPECT_EQ(tasks[next]->TaskStatus.load(), 3);
    EXPECT_EQ(manager->handedOutTasks().back(), tasks[next]);
  }
  EXPECT_EQ(manager->getTask(), nullptr);
  EXPECT_EQ(manager->handedOutTasks().size(), 5u);

  manager->TasksCount = 5;
  manager->clearTasks();
  EXPECT_TRUE(manager->allTasks().empty());
  EXPECT_TRUE(manager->todoTasks().empty());
  EXPECT_TRUE(manager->handedOutTasks().empty());
  EXPECT_EQ(manager->TasksCount, 0);
  EXPECT_EQ(manager->getTask(), nullptr);
}

}  // namespace
