// The driver of one round: dispatch, statistics, saves and its end.
#include "download/CDownloader.h"

#include <gtest/gtest.h>

#include <random>

#include "download/error_code.h"
#include "fixtures/fault_http_server.h"
#include "fixtures/log_capture.h"
#include "fixtures/temp_dir.h"
#include "platform/fake_system_facts.h"

namespace {

constexpr std::int64_t kTaskBytes = 4194304;

std::string Content(std::size_t size) {
  std::mt19937 random(static_cast<unsigned>(size));
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

bool Contains(const std::vector<std::string>& lines, const std::string& text) {
  for (const std::string& line : lines) {
    if (line.find(text) != std::string::npos) return true;
  }
  return false;
}

class DownloaderTest : public testing::Test {
 protected:
  std::unique_ptr<CDownloader> Driver(const std::string& path) {
    return std::make_unique<CDownloader>(server_.url(path), package_, package_ + ".xml", 4);
  }
  // Runs a round until the driver stops by itself or `limitMs` passes, then
  // stops it and closes the round.
  static bool RunRound(CDownloader& driver, std::uint32_t limitMs) {
    driver.setState(CDownloader::kRun);
    const bool stoppedByItself = driver.waitUntilStopped(limitMs);
    driver.setState(CDownloader::kStop);
    EXPECT_TRUE(driver.waitForDriver(60000));
    return stoppedByItself;
  }

  test::TempDir dir_;
  test::FaultHttpServer server_;
  const std::string package_ = dir_.File("package.exe");
};

TEST_F(DownloaderTest, AFreshRoundCountsOneBytePerTask) {
  server_.ServeFile("/fresh/p.exe", Content(3 * kTaskBytes + 9));
  platform::FakeSystemFacts facts;
  platform::FakeSystemFacts::Installed installed(facts);
  auto driver = Driver("/fresh/p.exe");
  ASSERT_EQ(driver->downloadInit(0, ""), kDownloadOk);
  facts.tickCount = 5;
  driver->updateDownloadInfo();
  const DownloadInfo info = driver->downloadInfo();
  EXPECT_EQ(info.downloaded, 3);
  EXPECT_EQ(info.elapsed, 5);
  EXPECT_EQ(info.tick, 5u);
  driver->setState(CDownloader::kStop);
  ASSERT_TRUE(driver->waitForDriver(60000));
  EXPECT_EQ(driver->downloadFinish(), 1);
}

TEST_F(DownloaderTest, ARoundWithEveryTaskDoneEndsWithoutDispatch) {
  const std::string content = Content(2 * kTaskBytes + 100);
  server_.ServeFile("/done/p.exe", content);
  {
    auto first = Driver("/done/p.exe");
    ASSERT_EQ(first->downloadInit(0, ""), kDownloadOk);
    ASSERT_TRUE(RunRound(*first, 60000));
    EXPECT_TRUE(first->started());
    const DownloadInfo info = first->downloadInfo();
    EXPECT_EQ(info.downloaded, static_cast<std::int64_t>(content.size()) + 1);
    EXPECT_DOUBLE_EQ(info.percent, 100.0);
    first->downloadFinish();
  }
  EXPECT_EQ(test::ReadFile(package_), content);

  server_.ClearRequests();
  auto second = Driver("/done/p.exe");
  ASSERT_EQ(second->downloadInit(0, ""), kDownloadOk);
  ASSERT_TRUE(RunRound(*second, 60000));
  EXPECT_FALSE(second->started());
  second->downloadFinish();
  for (const test::RecordedRequest& request : server_.requests()) {
    EXPECT_EQ(request.headers.count("range"), 0u) << "a finished task was fetched again";
  }
}

TEST_F(DownloaderTest, FailedTasksKeepTheRoundRunningUntilTheOwnerStopsIt) {
  const std::string content = Content(2 * kTaskBytes);
  server_.ServeFile("/fail/p.exe", content, {.cutAfterBytes = 1000});
  auto driver = Driver("/fail/p.exe");
  ASSERT_EQ(driver->downloadInit(0, ""), kDownloadOk);
  test::LogCapture log;
  EXPECT_FALSE(RunRound(*driver, 1500)) << "the driver must not end a round with failed tasks";
  driver->downloadFinish();
  EXPECT_TRUE(Contains(log.lines(), " Stopping Download,Mission Failed"));
  EXPECT_TRUE(Contains(log.lines(), " Download Stopped！"));
  const std::string taskInfo = test::ReadFile(package_ + ".xml");
  EXPECT_NE(taskInfo.find("<TaskStatus>2</TaskStatus>"), std::string::npos) << taskInfo;
  EXPECT_NE(taskInfo.find("<DownloadedPos>1000</DownloadedPos>"), std::string::npos) << taskInfo;
}

TEST_F(DownloaderTest, CdnReportListsTheStatusOfEveryTaskThatHadOne) {
  server_.ServeFile("/cdn/p.exe", Content(2 * kTaskBytes),
                    {.extraHeaders = {{"CF-Cache-Status", "HIT"}}});
  auto driver = Driver("/cdn/p.exe");
  ASSERT_EQ(driver->downloadInit(0, ""), kDownloadOk);
  ASSERT_TRUE(RunRound(*driver, 60000));
  EXPECT_EQ(driver->getCdnInfo(), "T();C(HIT;HIT;)");
  driver->downloadFinish();

  server_.ServeFile("/plain/p.exe", Content(2 * kTaskBytes));
  std::filesystem::remove(package_);
  std::filesystem::remove(package_ + ".xml");
  auto plain = Driver("/plain/p.exe");
  ASSERT_EQ(plain->downloadInit(0, ""), kDownloadOk);
  ASSERT_TRUE(RunRound(*plain, 60000));
  EXPECT_EQ(plain->getCdnInfo(), "");
  plain->downloadFinish();
}

}  // namespace
