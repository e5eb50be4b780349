// The task-information file: its exact bytes, the round trip, and what the
// reader refuses.
#include <gtest/gtest.h>

#include <filesystem>

#include "download/error_code.h"
#include "task_test_support.h"

namespace {

using test::StoredTask;
using TaskFile = test::TaskManagerTest;

// Two tasks of a file of 8 MiB + 5 bytes, the first one done.
std::unique_ptr<CDownloadTaskManager> TwoTasks(const test::TaskManagerTest& fixture,
                                               CSingleUserLog& log, const std::string& url) {
  log.SetUrlContentLength(url, 8388613);
  auto manager = fixture.Manager(url);
  EXPECT_EQ(manager->generateDownloadTask(0, ""), kDownloadOk);
  CTask& first = *manager->allTasks()[0];
  first.DownloadedPos = first.EndPos;
  first.TaskStatus = 1;
  first.RequestTimes = 2;
  CTask& second = *manager->allTasks()[1];
  second.DownloadedPos = 5000000;
  second.TaskStatus = 3;
  manager->DownloadTime = 1234;
  return manager;
}

TEST_F(TaskFile, IsWrittenWithFourSpacesAndCrLfWithoutDeclaration) {
  const std::string url = "http://127.0.0.1:9/get?file=a&b<c>.exe";
  const auto manager = TwoTasks(*this, *harness_.log, url);
  ASSERT_TRUE(manager->saveTaskToFile());
  const std::string escaped = "http://127.0.0.1:9/get?file=a&amp;b&lt;c&gt;.exe";
  const std::string expected =
      "<TaskInfo>\r\n"
      "    <TasksCount>2</TasksCount>\r\n"
      "    <ContentLength>8388613</ContentLength>\r\n"
      "    <DownloadTime>1234</DownloadTime>\r\n"
      "    <Task>\r\n"
      "        <StartPos>0</StartPos>\r\n"
      "        <EndPos>4194303</EndPos>\r\n"
      "        <DownloadedPos>4194303</DownloadedPos>\r\n"
      "        <RemotePath>" + escaped + "</RemotePath>\r\n"
      "        <LocalPath>" + package_ + "</LocalPath>\r\n"
      "        <TaskStatus>1</TaskStatus>\r\n"
      "        <TaskId>1</TaskId>\r\n"
      "        <RequestTimes>2</RequestTimes>\r\n"
      "    </Task>\r\n"
      "    <Task>\r\n"
      "        <StartPos>4194304</StartPos>\r\n"
      "        <EndPos>8388613</EndPos>\r\n"
      "        <DownloadedPos>5000000</DownloadedPos>\r\n"
      "        <RemotePath>" + escaped + "</RemotePath>\r\n"
      "        <LocalPath>" + package_ + "</LocalPath>\r\n"
      "        <TaskStatus>3</TaskStatus>\r\n"
      "        <TaskId>2</TaskId>\r\n"
      "        <RequestTimes>0</RequestTimes>\r\n"
      "    </Task>\r\n"
      "</TaskInfo>\r\n";
  EXPECT_EQ(test::ReadFile(taskInfo_), expected);
  // Nothing is left beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(TaskFile, RoundTripKeepsEveryTaskAndResetsTheCounters) {
  // Any length and any characters.
  const std::string url = "http://127.0.0.1:9/" + std::string(5000, 'x') + "?q=\"&'<>\xe4\xb8\xad";
  const auto saved = TwoTasks(*this, *harness_.log, url);
  saved->allTasks()[1]->cdnStatus = "LAX/HIT";
  ASSERT_TRUE(saved->saveTaskToFile());
  ASSERT_TRUE(saved->saveTaskToFile());  // replaces the file

  const auto loaded = Manager("http://127.0.0.1:9/other");
  EXPECT_FALSE(loaded->loadTaskFromFile());  // one task is left
  EXPECT_EQ(loaded->TasksCount, 2);
  EXPECT_EQ(loaded->ContentLength, 8388613);
  EXPECT_EQ(loaded->DownloadTime, 1234);
  ASSERT_EQ(loaded->allTasks().size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    const CTask& was = *saved->allTasks()[i];
    const CTask& is = *loaded->allTasks()[i];
    EXPECT_EQ(is.StartPos, was.StartPos);
    EXPECT_EQ(is.EndPos, was.EndPos);
    EXPECT_EQ(is.DownloadedPos.load(), was.DownloadedPos.load());
    EXPECT_EQ(is.TaskStatus.load(), was.TaskStatus.load());
    EXPECT_EQ(is.TaskId.load(), was.TaskId.load());
    EXPECT_EQ(is.RemotePath, url);
    EXPECT_EQ(is.LocalPath, package_);
    EXPECT_EQ(is.contentLength, 8388613);
    EXPECT_EQ(is.RequestTimes, 0);
    EXPECT_TRUE(is.cdnStatus.empty());
    EXPECT_TRUE(is.probeCdnStatus.empty());
  }
  EXPECT_EQ(loaded->handedOutTasks(), std::vector<CTask*>{loaded->allTasks()[0]});
  EXPECT_EQ(loaded->todoTasks(), std::vector<CTask*>{loaded->allTasks()[1]});
  EXPECT_EQ(LinesStartingWith(" Tasks info, load ok"),
            std::vector<std::string>{" Tasks info, load ok, total 2, todo 1, complete 1"});
}

TEST_F(TaskFile, ReaderIgnoresOrderIndentationAndUnknownElements) {
  const std::string url = server_.url("/p.exe");
  test::WriteFile(taskInfo_,
                  "<TaskInfo><Task><TaskId>1</TaskId><Colour>blue</Colour><LocalPath>" + package_ +
                      "</LocalPath><TaskStatus> 1 </TaskStatus><RemotePath>" + url +
                      "</RemotePath><DownloadedPos>100</DownloadedPos><EndPos>100</EndPos>"
                      "<StartPos>0</StartPos></Task><Note/><DownloadTime>7</DownloadTime>"
                      "<ContentLength>100</ContentLength><TasksCount>1</TasksCount></TaskInfo>");
  const auto manager = Manager(url);
  EXPECT_TRUE(manager->loadTaskFromFile());
  ASSERT_EQ(manager->allTasks().size(), 1u);
  // The length reaches the task although it follows it in the file.
  EXPECT_EQ(manager->allTasks()[0]->contentLength, 100);
  EXPECT_EQ(manager->DownloadTime, 7);
  EXPECT_EQ(harness_.log->GetUrlContentLength(url), 100);
}

TEST_F(TaskFile, FileWithoutTasksCountsAsAllDone) {
  test::WriteFile(taskInfo_, TaskInfoXml(0, {}, ""));
  EXPECT_TRUE(Manager(server_.url("/p.exe"))->loadTaskFromFile());
}

TEST_F(TaskFile, UnwritableFolderReportsFailureAndWritesNothing) {
  const std::string missing = dir_.File("gone/p.exe");
  CDownloadTaskManager manager(server_.url("/p.exe"), missing, missing + ".xml", *harness_.log);
  EXPECT_FALSE(manager.saveTaskToFile());
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "gone"));
}

TEST_F(TaskFile, FailedSaveLeavesThePreviousFile) {
  const auto manager = TwoTasks(*this, *harness_.log, server_.url("/p.exe"));
  ASSERT_TRUE(manager->saveTaskToFile());
  const std::string before = test::ReadFile(taskInfo_);
  // The temporary file cannot be made: a folder holds its name.
  std::filesystem::create_directory(taskInfo_ + ".tmp");
  manager->allTasks()[1]->DownloadedPos = 6000000;
  EXPECT_FALSE(manager->saveTaskToFile());
  EXPECT_EQ(test::ReadFile(taskInfo_), before);
}

struct BrokenFile {
  const char* what;
  std::string text;
};

// Files that no save of this program writes; none of their tasks may reach
// a worker.
std::vector<BrokenFile> BrokenFiles(const test::TaskManagerTest& fixture,
                                    const std::string& url) {
  const std::string good = fixture.TaskInfoXml(100, {{0, 100, 50, 0, 1}}, url);
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  return {
      {"empty", ""},
      {"not XML", "\x7f" "ELF\x02\x01\x01"},
      {"truncated", good.substr(0, good.size() / 2)},
      {"foreign root", "<html><body>404</body></html>"},
      {"downloaded beyond the end", replaced("<DownloadedPos>50", "<DownloadedPos>101")},
      {"downloaded before the start", replaced("<DownloadedPos>50", "<DownloadedPos>-1")},
      {"end beyond the length", replaced("<EndPos>100", "<EndPos>4194304")},
      {"negative length", replaced("<ContentLength>100", "<ContentLength>-100")},
      {"absurd length", replaced("<ContentLength>100", "<ContentLength>99999999999999999")},
      {"length overflows", replaced("<ContentLength>100", "<ContentLength>99999999999999999999")},
      {"non-numeric id", replaced("<TaskId>1", "<TaskId>one")},
      {"trailing letters", replaced("<StartPos>0", "<StartPos>0x")},
      {"empty status", replaced("<TaskStatus>0", "<TaskStatus>")},
      {"unknown status", replaced("<TaskStatus>0", "<TaskStatus>7")},
      {"id zero", replaced("<TaskId>1", "<TaskId>0")},
      {"missing local path",
       good.substr(0, good.find("<LocalPath>")) + good.substr(good.find("<TaskStatus>"))},
      {"empty remote path", replaced("<RemotePath>" + url, "<RemotePath>")},
      {"missing download time", replaced("<DownloadTime>0</DownloadTime>", "")},
      {"count disagrees", replaced("<TasksCount>1", "<TasksCount>2")},
  };
}

TEST_F(TaskFile, BrokenFilesLoadNothing) {
  const std::string url = server_.url("/p.exe");
  for (const BrokenFile& broken : BrokenFiles(*this, url)) {
    test::WriteFile(taskInfo_, broken.text);
    const auto manager = Manager(url);
    EXPECT_FALSE(manager->loadTaskFromFile()) << broken.what;
    EXPECT_TRUE(manager->allTasks().empty()) << broken.what;
    EXPECT_EQ(manager->getTask(), nullptr) << broken.what;
    EXPECT_EQ(manager->ContentLength, 0) << broken.what;
    EXPECT_EQ(harness_.log->GetUrlContentLength(url), 0) << broken.what;
  }
}

}  // namespace
