// A download killed with SIGKILL at random moments and started again: the
// task-information file stays readable, never claims a byte the package file
// does not hold, and the finished package has the right MD5.
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <random>
#include <thread>

#include "fixtures/child_process.h"
#include "fixtures/fault_http_server.h"
#include "fixtures/temp_dir.h"
#include "hash/md5.h"

namespace {

std::int64_t ChildValue(const tinyxml2::XMLElement* task, const char* name) {
  const tinyxml2::XMLElement* child = task->FirstChildElement(name);
  return child && child->GetText() ? std::stoll(child->GetText()) : -1;
}

// Every byte the file counts as downloaded must be in the package already.
void ExpectTaskInfoMatchesPackage(const std::string& taskInfo, const std::string& package,
                                  const std::string& content) {
  tinyxml2::XMLDocument doc;
  ASSERT_EQ(doc.Parse(taskInfo.data(), taskInfo.size()), tinyxml2::XML_SUCCESS)
      << "unreadable task-information file";
  const tinyxml2::XMLElement* root = doc.RootElement();
  ASSERT_NE(root, nullptr);
  const auto length = static_cast<std::int64_t>(content.size());
  for (const tinyxml2::XMLElement* task = root->FirstChildElement("Task"); task;
       task = task->NextSiblingElement("Task")) {
    const std::int64_t start = ChildValue(task, "StartPos");
    const std::int64_t end = ChildValue(task, "EndPos");
    const std::int64_t downloaded = ChildValue(task, "DownloadedPos");
    // EndPos is a task's last byte, except for the final task (the length).
    const std::int64_t stop = downloaded == end ? std::min(end + 1, length) : downloaded;
    if (stop <= start) continue;
    ASSERT_LE(stop, static_cast<std::int64_t>(package.size())) << "task at " << start;
    ASSERT_TRUE(package.compare(start, stop - start, content, start, stop - start) == 0)
        << "the file claims bytes the package does not hold, task at " << start;
  }
}

std::optional<std::filesystem::file_time_type> SaveTime(const std::string& file) {
  std::error_code error;
  const auto time = std::filesystem::last_write_time(file, error);
  if (error) return std::nullopt;
  return time;
}

// Kills the child as soon as the task-information file changes, or after
// 300 ms without a change.
void KillSoonAfterNextSave(test::ChildProcess& child, const std::string& taskInfo) {
  const auto before = SaveTime(taskInfo);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
  while (SaveTime(taskInfo) == before && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::microseconds(50));
  }
  child.Signal(SIGKILL);
}

class FetchKillTest : public testing::Test {
 protected:
  void Serve(std::size_t size, int chunkDelayMs) {
    content_.resize(size);
    for (char& c : content_) c = static_cast<char>(random_());
    server_.ServeFile("/kill/package.exe", content_, {.chunkDelayMs = chunkDelayMs});
  }
  // Starts the download `kills` times and kills it with SIGKILL, either at a
  // random moment or right after its next save; checks the files each time.
  void KillRepeatedly(int kills, bool afterSave) {
    std::uniform_int_distribution<int> delayMs(30, 200);
    for (int kill = 0; kill < kills; ++kill) {
      test::ChildProcess child(Fetch(), {}, dir_.File("out.txt"), dir_.File("err.txt"));
      ASSERT_TRUE(child.started());
      std::this_thread::sleep_for(std::chrono::milliseconds(delayMs(random_)));
      if (afterSave) {
        KillSoonAfterNextSave(child, package_ + ".xml");
      } else {
        child.Signal(SIGKILL);
      }
      child.Wait();
      const std::string taskInfo = test::ReadFile(package_ + ".xml");
      if (!taskInfo.empty()) {
        ExpectTaskInfoMatchesPackage(taskInfo, test::ReadFile(package_), content_);
        if (HasFatalFailure()) return;
      }
    }
  }
  void FinishWithTheRightMd5() {
    server_.ServeFile("/kill/package.exe", content_);
    std::vector<std::string> finish = Fetch();
    finish.insert(finish.end(), {"--md5", hash::Md5Hex(content_)});
    test::ChildProcess child(finish, {}, dir_.File("out.txt"), dir_.File("err.txt"));
    EXPECT_EQ(child.Wait(), 0) << test::ReadFile(dir_.File("out.txt"))
                               << test::ReadFile(dir_.File("err.txt"));
  }
  std::vector<std::string> Fetch() const {
    return {STUBCTL_PROGRAM, "fetch", server_.url("/kill/package.exe"), package_};
  }

  std::mt19937 random_{20261211};
  std::string content_;
  test::FaultHttpServer server_;
  test::TempDir dir_;
  const std::string package_ = dir_.File("package.exe");
};

TEST_F(FetchKillTest, KilledAtRandomMomentsTheDownloadStillEndsWithTheRightMd5) {
  // Slow enough that every kill lands in the middle of the transfer.
  Serve(200 * 1048576 + 321, 1);
  KillRepeatedly(20, false);
  if (HasFatalFailure()) return;
  FinishWithTheRightMd5();
}

TEST_F(FetchKillTest, KilledRightAfterASaveTheFileClaimsOnlyWrittenBytes) {
  // Few, slow writes keep any byte held in the process there for long.
  Serve(16 * 1048576 + 5, 20);
  KillRepeatedly(6, true);
  if (HasFatalFailure()) return;
  FinishWithTheRightMd5();
}

}  // namespace
