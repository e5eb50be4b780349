// Resuming from the task-information file, or starting over when it no
// longer fits the remote file.
#include <gtest/gtest.h>

#include "download/error_code.h"
#include "task_test_support.h"

namespace {

using test::StoredTask;
using TaskResume = test::TaskManagerTest;

constexpr std::int64_t kLength = 10485760;  // two tasks
const std::vector<StoredTask> kTwoTasks = {{0, 4194303, 4194303, 1, 1},
                                           {4194304, kLength, 5000000, 3, 2}};

TEST_F(TaskResume, ValidFileIsResumedWithoutAskingTheServer) {
  const std::string url = server_.url("/p.exe");
  test::WriteFile(taskInfo_, TaskInfoXml(kLength, kTwoTasks, url, 900));
  test::WriteFile(package_, "partial");
  const auto manager = Manager(url);
  EXPECT_EQ(manager->loadDownloadTask(0, "Main"), kDownloadOk);
  EXPECT_TRUE(server_.requests().empty());
  EXPECT_EQ(manager->DownloadTime, 900);
  EXPECT_EQ(manager->handedOutTasks(), std::vector<CTask*>{manager->allTasks()[0]});
  EXPECT_EQ(manager->todoTasks(), std::vector<CTask*>{manager->allTasks()[1]});
  EXPECT_EQ(manager->allTasks()[1]->DownloadedPos.load(), 5000000);
  EXPECT_TRUE(PackageExists());
  EXPECT_EQ(LinesStartingWith(" Load tasks from file success!").size(), 1u);
  EXPECT_EQ(FunnelCount("ResumUpload"), 1);
}

TEST_F(TaskResume, StoredStatusesDecideTheLists) {
  const std::string url = server_.url("/p.exe");
  const std::int64_t length = 4 * 4194304;
  test::WriteFile(taskInfo_, TaskInfoXml(length,
                                         {{0, 4194303, 4194303, 1, 1},
                                          {4194304, 8388607, 4194304, 0, 2},
                                          {8388608, 12582911, 9000000, 2, 3},
                                          {12582912, length, 12582912, 3, 4}},
                                         url));
  const auto manager = Manager(url);
  ASSERT_EQ(manager->loadDownloadTask(0, ""), kDownloadOk);
  const auto& all = manager->allTasks();
  EXPECT_EQ(manager->handedOutTasks(), std::vector<CTask*>{all[0]});
  EXPECT_EQ(manager->todoTasks(), (std::vector<CTask*>{all[1], all[2], all[3]}));
  // Handed out again from where each one stopped.
  EXPECT_EQ(manager->getTask(), all[1]);
  EXPECT_EQ(manager->getTask(), all[2]);
  EXPECT_EQ(all[2]->DownloadedPos.load(), 9000000);
}

TEST_F(TaskResume, ATaskStoredAsDoneShortOfItsEndIsFetchedAgain) {
  const std::string url = server_.url("/p.exe");
  test::WriteFile(taskInfo_, TaskInfoXml(kLength,
                                         {{0, 4194303, 4194303, 1, 1},
                                          {4194304, kLength, 5000000, 1, 2}},
                                         url));
  const auto manager = Manager(url);
  ASSERT_EQ(manager->loadDownloadTask(0, ""), kDownloadOk);
  const auto& all = manager->allTasks();
  EXPECT_EQ(manager->todoTasks(), std::vector<CTask*>{all[1]});
  EXPECT_EQ(all[1]->TaskStatus.load(), 0);
  EXPECT_EQ(all[1]->DownloadedPos.load(), 5000000);
}

TEST_F(TaskResume, FinishedDownloadIsNotReportedAsResumed) {
  const std::string url = server_.url("/p.exe");
  test::WriteFile(taskInfo_, TaskInfoXml(kLength,
                                         {{0, 4194303, 4194303, 1, 1},
                                          {4194304, kLength, kLength, 1, 2}},
                                         url));
  const auto manager = Manager(url);
  EXPECT_EQ(manager->loadDownloadTask(0, ""), kDownloadOk);
  EXPECT_TRUE(manager->todoTasks().empty());
  EXPECT_EQ(FunnelCount("ResumUpload"), 0);
}

TEST_F(TaskResume, OtherUrlOfTheSameLengthIsProbedAndResumed) {
  server_.ServeFile("/new.exe", std::string(kLength, 'n'));
  test::WriteFile(taskInfo_, TaskInfoXml(kLength, kTwoTasks, server_.url("/old.exe")));
  const auto manager = Manager(server_.url("/new.exe"));
  EXPECT_EQ(manager->loadDownloadTask(0, ""), kDownloadOk);
  EXPECT_EQ(server_.requests().size(), 1u);
  EXPECT_TRUE(LinesStartingWith(" taskinfo file error").empty());
  EXPECT_EQ(manager->allTasks()[1]->RemotePath, server_.url("/old.exe"));
}

// Each leaves the package and the file deleted, and starts from zero.
void ExpectStartedOver(const test::TaskManagerTest& fixture, const CDownloadTaskManager& manager,
                       std::int64_t length, const char* what) {
  EXPECT_FALSE(fixture.PackageExists()) << what;
  EXPECT_FALSE(fixture.TaskInfoExists()) << what;
  EXPECT_EQ(manager.ContentLength, length) << what;
  EXPECT_EQ(manager.DownloadTime, 0) << what;
  EXPECT_EQ(manager.todoTasks(), manager.allTasks()) << what;
  for (const CTask* task : manager.allTasks()) {
    EXPECT_EQ(task->DownloadedPos.load(), task->StartPos) << what;
    EXPECT_EQ(task->TaskStatus.load(), 0) << what;
  }
  EXPECT_EQ(fixture.LinesStartingWith(" taskinfo file error").size(), 1u) << what;
}

TEST_F(TaskResume, ChangedRemoteLengthStartsOver) {
  server_.ServeFile("/new.exe", std::string(3000, 'n'));
  test::WriteFile(taskInfo_, TaskInfoXml(kLength, kTwoTasks, server_.url("/old.exe"), 900));
  test::WriteFile(package_, "partial");
  const auto manager = Manager(server_.url("/new.exe"));
  EXPECT_EQ(manager->loadDownloadTask(0, ""), kDownloadOk);
  ExpectStartedOver(*this, *manager, 3000, "changed length");
  EXPECT_EQ(manager->allTasks().size(), 1u);
  EXPECT_EQ(Labels("Other", "FlowError"), std::vector<std::string>{"DL025"});
}

TEST_F(TaskResume, UnreachableServerCountsAsChanged) {
  std::string url;
  {
    test::FaultHttpServer gone;
    url = gone.url("/p.exe");
  }
  test::WriteFile(taskInfo_, TaskInfoXml(kLength, kTwoTasks, server_.url("/old.exe")));
  test::WriteFile(package_, "partial");
  const auto manager = Manager(url);
  EXPECT_EQ(manager->loadDownloadTask(0, ""), kNoContentLength);
  EXPECT_FALSE(PackageExists());
  EXPECT_FALSE(TaskInfoExists());
  EXPECT_EQ(Labels("Other", "FlowError"), std::vector<std::string>{"DL025"});
}

TEST_F(TaskResume, FileOfARoundWithoutLengthIsReplaced) {
  server_.ServeFile("/p.exe", std::string(500, 'p'));
  test::WriteFile(taskInfo_, TaskInfoXml(0, {}, ""));
  const auto manager = Manager(server_.url("/p.exe"));
  EXPECT_EQ(manager->loadDownloadTask(0, ""), kDownloadOk);
  ExpectStartedOver(*this, *manager, 500, "no length");
  EXPECT_EQ(Labels("Other", "FlowError"), std::vector<std::string>{"DL025"});
}

struct LayoutCase {
  const char* what;
  std::vector<StoredTask> tasks;
};

TEST_F(TaskResume, BrokenLayoutStartsOver) {
  const std::vector<LayoutCase> cases = {
      {"gap", {{0, 4194303, 0, 0, 1}, {4194305, kLength, 4194305, 0, 2}}},
      {"overlap", {{0, 4194304, 0, 0, 1}, {4194304, kLength, 4194304, 0, 2}}},
      {"out of order", {{4194304, kLength, 4194304, 0, 2}, {0, 4194303, 0, 0, 1}}},
      {"wrong id", {{0, 4194303, 0, 0, 1}, {4194304, kLength, 4194304, 0, 3}}},
      {"short", {{0, 4194303, 0, 0, 1}, {4194304, kLength - 1, 4194304, 0, 2}}},
      {"empty", {}},
  };
  const std::string url = server_.url("/p.exe");
  for (const LayoutCase& c : cases) {
    capture_.Clear();
    harness_.log->SetUrlContentLength(url, kLength);
    test::WriteFile(taskInfo_, TaskInfoXml(kLength, c.tasks, url));
    test::WriteFile(package_, "partial");
    const auto manager = Manager(url);
    EXPECT_EQ(manager->loadDownloadTask(0, ""), kDownloadOk) << c.what;
    ExpectStartedOver(*this, *manager, kLength, c.what);
    EXPECT_EQ(manager->allTasks().size(), 2u) << c.what;
  }
  EXPECT_TRUE(server_.requests().empty());
  EXPECT_EQ(Labels("Other", "FlowError"), std::vector<std::string>(cases.size(), "DL026"));
}

TEST_F(TaskResume, CorruptFileStartsOver) {
  struct CorruptCase {
    const char* what;
    std::string text;
    bool reported;  // DL026: a file of ours with values that cannot be right
  };
  const std::string url = server_.url("/p.exe");
  const std::string good = TaskInfoXml(kLength, kTwoTasks, url);
  const std::vector<CorruptCase> cases = {
      {"truncated", good.substr(0, good.size() - 20), false},
      {"foreign XML", "<?xml version=\"1.0\"?><Project><Item>1</Item></Project>", false},
      {"binary", std::string("\0\1\2\3\xff", 5), false},
      {"position beyond its task",
       TaskInfoXml(kLength, {{0, 4194303, 4194304, 0, 1}, {4194304, kLength, 4194304, 0, 2}}, url),
       true},
  };
  server_.ServeFile("/p.exe", std::string(kLength, 'p'));
  for (const CorruptCase& c : cases) {
    capture_.Clear();
    test::WriteFile(taskInfo_, c.text);
    test::WriteFile(package_, "partial");
    const auto manager = Manager(url);
    EXPECT_EQ(manager->loadDownloadTask(0, ""), kDownloadOk) << c.what;
    ExpectStartedOver(*this, *manager, kLength, c.what);
  }
  std::vector<std::string> expected;
  for (const CorruptCase& c : cases) {
    if (c.reported) expected.push_back("DL026");
  }
  EXPECT_EQ(Labels("Other", "FlowError"), expected);
}

TEST_F(TaskResume, WithoutFileTheDownloadStartsFromZero) {
  server_.ServeFile("/p.exe", std::string(kLength, 'p'));
  test::WriteFile(package_, "kept");
  const auto manager = Manager(server_.url("/p.exe"));
  EXPECT_FALSE(manager->taskInfoFileExists());
  EXPECT_EQ(manager->loadDownloadTask(0, ""), kDownloadOk);
  EXPECT_EQ(manager->allTasks().size(), 2u);
  // Only a broken file takes the package with it.
  EXPECT_TRUE(PackageExists());
  EXPECT_TRUE(LinesStartingWith(" taskinfo file error").empty());
}

}  // namespace
