// Supervised download rounds against a server that misbehaves on demand.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "download/CDownLoadImpl.h"
#include "download/download_progress.h"
#include "download/error_code.h"
#include "fixtures/fault_http_server.h"
#include "fixtures/log_capture.h"
#include "fixtures/temp_dir.h"
#include "platform/fake_system_facts.h"
#include "platform/utf8.h"

namespace {

std::string Content(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

class ProgressRecorder : public DownloadProgress {
 public:
  void OnDownloadProgress(std::int64_t downloaded, std::int64_t total) override {
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.emplace_back(downloaded, total);
  }
  std::vector<std::pair<std::int64_t, std::int64_t>> calls() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::pair<std::int64_t, std::int64_t>> calls_;
};

// Fake ticks that run 1000 times faster than the wall clock, so that the
// 60 s stall limit passes in about 60 ms without new bytes.
class FastClock {
 public:
  explicit FastClock(platform::FakeSystemFacts& facts) : facts_(facts) {
    thread_ = std::thread([this] {
      while (!stop_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        facts_.tickCount += 1000;
      }
    });
  }
  ~FastClock() {
    stop_ = true;
    thread_.join();
  }

 private:
  platform::FakeSystemFacts& facts_;
  std::atomic<bool> stop_ = false;
  std::thread thread_;
};

class DownloadRoundTest : public testing::Test {
 protected:
  int Round(const std::string& path, ProgressRecorder* progress = nullptr) {
    std::string cdnInfo;
    return CDownLoadImpl::SuperDownloadFile(platform::FromUtf8(server_.url(path)), package_,
                                            cdnInfo, 0, progress);
  }
  std::size_t RangeRequests() const {
    std::size_t count = 0;
    for (const test::RecordedRequest& request : server_.requests()) {
      if (request.headers.count("range")) ++count;
    }
    return count;
  }
  std::string PackageBytes() const { return test::ReadFile(platform::ToUtf8(package_)); }

  test::TempDir dir_;
  test::FaultHttpServer server_;
  const std::wstring package_ = dir_.WFile("package file.exe");
};

TEST_F(DownloadRoundTest, DownloadsEveryRangeThenFindsThePackageComplete) {
  const std::string content = Content(9 * 1048576 + 5, 1);
  server_.ServeFile("/complete/package.exe", content);
  ProgressRecorder first;
  ASSERT_EQ(Round("/complete/package.exe", &first), kDownloadOk);
  EXPECT_EQ(PackageBytes(), content);
  ASSERT_FALSE(first.calls().empty());
  EXPECT_EQ(first.calls().back().second, static_cast<std::int64_t>(content.size()));

  server_.ClearRequests();
  test::LogCapture log;
  ProgressRecorder second;
  ASSERT_EQ(Round("/complete/package.exe", &second), kDownloadOk);
  EXPECT_EQ(RangeRequests(), 0u);
  ASSERT_FALSE(second.calls().empty());
  const auto length = static_cast<std::int64_t>(content.size());
  EXPECT_EQ(second.calls().back(), std::make_pair(length, length));
  for (const std::string& line : log.lines()) {
    EXPECT_EQ(line.find(" Average speed: "), std::string::npos) << "nothing was downloaded";
  }
  EXPECT_EQ(PackageBytes(), content);
}

TEST_F(DownloadRoundTest, ResumesAcrossRoundsWhenEveryResponseIsCutShort) {
  const std::string content = Content(9 * 1048576 + 77, 2);
  server_.ServeFile("/cut/package.exe", content, {.cutAfterBytes = 1048576 + 17});
  platform::FakeSystemFacts facts;
  platform::FakeSystemFacts::Installed installed(facts);
  FastClock clock(facts);
  int result = 0;
  int rounds = 0;
  while (result != kDownloadOk && rounds < 40) {
    result = Round("/cut/package.exe");
    ++rounds;
    ASSERT_TRUE(result == kDownloadOk || result == kNoProgress) << result;
  }
  EXPECT_EQ(result, kDownloadOk);
  EXPECT_GT(rounds, 1);
  EXPECT_EQ(PackageBytes(), content);
}

TEST_F(DownloadRoundTest, AServerThatIgnoresRangeWritesNoForeignByte) {
  const std::string content = Content(9 * 1048576, 3);
  server_.ServeFile("/whole/package.exe", content, {.ignoreRange = true});
  platform::FakeSystemFacts facts;
  platform::FakeSystemFacts::Installed installed(facts);
  FastClock clock(facts);
  EXPECT_EQ(Round("/whole/package.exe"), kNoProgress);
  const std::string written = PackageBytes();
  for (std::size_t i = 0; i < written.size(); ++i) {
    if (written[i] != '\0') {
      ASSERT_EQ(written[i], content[i]) << "foreign byte at " << i;
    }
  }
}

TEST_F(DownloadRoundTest, RoundResultsForBadSourcesAndMachines) {
  server_.ServeFile("/small/package.exe", Content(900000, 4));
  EXPECT_EQ(Round("/small/package.exe"), kPackageMissing);

  EXPECT_EQ(Round("/missing/package.exe"), kNoContentLength);

  server_.ServeFile("/offline/package.exe", Content(2 * 1048576, 5));
  platform::FakeSystemFacts facts;
  facts.networkAlive = false;
  platform::FakeSystemFacts::Installed installed(facts);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Round("/offline/package.exe"), kNoNetwork);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1100));
}

TEST_F(DownloadRoundTest, APackageFolderThatCannotBeWrittenGivesSeven) {
  server_.ServeFile("/nowhere/package.exe", Content(2 * 1048576, 6));
  std::string cdnInfo;
  EXPECT_EQ(CDownLoadImpl::SuperDownloadFile(platform::FromUtf8(server_.url("/nowhere/package.exe")),
                                             dir_.WFile("no such folder/package.exe"), cdnInfo, 0),
            kPackageNotOpened);
}

}  // namespace
