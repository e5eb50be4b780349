// httpDownloadContent against a server that misbehaves on purpose.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "download/CLibcurlTool.h"
#include "fixtures/fault_http_server.h"
#include "fixtures/log_capture.h"
#include "fixtures/temp_dir.h"
#include "test_worker.h"

namespace {

const std::string kUserAgent =
    "Mozilla/5.0 (Windows NT 6.1; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/62.0.3202.75 Safari/537.36";

// Bytes that differ from their neighbours, so a misplaced chunk shows.
std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) % 256);
  return bytes;
}

class RangedDownloadTest : public ::testing::Test {
 protected:
  static constexpr std::int64_t kLength = 5000;

  RangedDownloadTest() : content_(Pattern(kLength)) {
    test::WriteFile(path_, std::string(kLength, '.'));
    package_ = test::OpenPackage(path_, "r+b");
    worker_ = std::make_unique<test::TestWorker>(package_);
  }

  // Task 2 of the file: bytes 1000..1999.
  CURLcode DownloadMiddleTask(const std::string& url) {
    if (worker_->task.EndPos == 0) worker_->Assign(2, 1000, 1999, kLength);
    return tool_.httpDownloadContent(url, worker_->task.DownloadedPos, worker_->task.EndPos,
                                     worker_.get());
  }
  std::string Package() {
    std::fflush(package_.get());
    return test::ReadFile(path_);
  }
  std::string Untouched(std::size_t count) const { return std::string(count, '.'); }

  test::TempDir dir_;
  test::FaultHttpServer server_;
  const std::string content_;
  const std::string path_ = dir_.File("package.bin");
  test::SharedFile package_;
  std::unique_ptr<test::TestWorker> worker_;
  CLibcurlTool tool_;
};

TEST_F(RangedDownloadTest, WorkersFillTheSharedPackage) {
  const std::int64_t taskSize = 1024;  // the last task is shorter
  server_.ServeFile("/pkg.zip", content_,
                    {.extraHeaders = {{"CF-RAY", "7d2f3a4b-LAX"}, {"CF-Cache-Status", "HIT"}}});
  constexpr int kWorkers = 3;
  std::vector<std::thread> threads;
  std::vector<std::string> failures(kWorkers);
  for (int w = 0; w < kWorkers; ++w) {
    threads.emplace_back([&, w] {
      CLibcurlTool tool;
      test::TestWorker worker(package_);
      for (std::int64_t start = w * taskSize, id = w + 1; start < kLength;
           start += kWorkers * taskSize, id += kWorkers) {
        const bool last = start + taskSize >= kLength;
        worker.Assign(static_cast<std::int32_t>(id), start, last ? kLength : start + taskSize - 1,
                      kLength);
        worker.task.cdnStatus.clear();
        const CURLcode code = tool.httpDownloadContent(
            server_.url("/pkg.zip"), worker.task.DownloadedPos, worker.task.EndPos, &worker);
        if (code != CURLE_OK || !worker.complete() || worker.task.cdnStatus != "LAX/HIT") {
          failures[w] += "task " + std::to_string(id) + " code " + std::to_string(code) + "; ";
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (const std::string& failure : failures) EXPECT_EQ(failure, "");
  EXPECT_EQ(Package(), content_);
}

TEST_F(RangedDownloadTest, SendsTheUserAgentLineAndTheRange) {
  server_.ServeFile("/pkg.zip", content_);
  test::LogCapture log;
  EXPECT_EQ(DownloadMiddleTask(server_.url("/pkg.zip")), CURLE_OK);
  const auto requests = server_.requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[0].headers.at("user-agent"), kUserAgent);
  EXPECT_EQ(requests[0].headers.at("range"), "bytes=1000-1999");
  ASSERT_FALSE(log.lines().empty());
  EXPECT_EQ(log.lines().front(), " Request Range: (2, 999) 1000-1999");
  EXPECT_EQ(Package(), Untouched(1000) + content_.substr(1000, 1000) + Untouched(3000));
}

TEST_F(RangedDownloadTest, FollowsRedirects) {
  server_.ServeFile("/pkg.zip", content_);
  server_.Redirect("/old.zip", "/pkg.zip");
  EXPECT_EQ(DownloadMiddleTask(server_.url("/old.zip")), CURLE_OK);
  EXPECT_TRUE(worker_->complete());
  EXPECT_EQ(Package().substr(1000, 1000), content_.substr(1000, 1000));
}

struct MisbehaviourCase {
  const char* name;
  test::FileFaults faults;
  const char* logged;  // a log line starts so
};
void PrintTo(const MisbehaviourCase& c, std::ostream* out) { *out << c.name; }

class MisbehavingServerTest : public RangedDownloadTest,
                              public ::testing::WithParamInterface<MisbehaviourCase> {};

// Answers whose bytes do not belong at the task's position: not one of them
// may reach the package.
TEST_P(MisbehavingServerTest, WritesNothing) {
  server_.ServeFile("/pkg.zip", content_, GetParam().faults);
  test::LogCapture log;
  EXPECT_EQ(DownloadMiddleTask(server_.url("/pkg.zip")), CURLE_WRITE_ERROR);
  EXPECT_EQ(worker_->task.DownloadedPos.load(), 1000);
  EXPECT_EQ(Package(), Untouched(kLength));
  bool found = false;
  for (const std::string& line : log.lines())
    found = found || line.rfind(GetParam().logged, 0) == 0;
  EXPECT_TRUE(found) << GetParam().logged;
}

INSTANTIATE_TEST_SUITE_P(
    RangedDownload, MisbehavingServerTest,
    ::testing::Values(
        MisbehaviourCase{"IgnoresRange", {.ignoreRange = true}, " HeaderCallback error3: "},
        MisbehaviourCase{
            "RangeStartsElsewhere", {.wrongContentRangeStart = true}, " HeaderCallback error4: "},
        MisbehaviourCase{"FileChanged", {.contentRangeTotal = "5001"}, " HeaderCallback error1: "},
        MisbehaviourCase{"ErrorPageWithRange", {.status = 500}, " HeaderCallback error3: "},
        MisbehaviourCase{"Unavailable", {.failFirstRequests = 1}, " HeaderCallback error3: "}),
    [](const auto& info) { return std::string(info.param.name); });

class CutConnectionTest : public RangedDownloadTest,
                          public ::testing::WithParamInterface<std::int64_t> {};

// A cut leaves the task incomplete with what it has; the next request goes
// on from DownloadedPos and completes it.
TEST_P(CutConnectionTest, ResumesWhereItStopped) {
  server_.ServeFile("/pkg.zip", content_, {.cutAfterBytes = GetParam()});
  EXPECT_NE(DownloadMiddleTask(server_.url("/pkg.zip")), CURLE_OK);
  EXPECT_FALSE(worker_->complete());
  const std::int64_t reached = worker_->task.DownloadedPos.load();
  EXPECT_GT(reached, 1000);
  EXPECT_LE(reached, 1000 + GetParam());
  EXPECT_EQ(Package().substr(1000, reached - 1000), content_.substr(1000, reached - 1000));

  server_.ServeFile("/pkg.zip", content_);
  server_.ClearRequests();
  EXPECT_EQ(DownloadMiddleTask(server_.url("/pkg.zip")), CURLE_OK);
  EXPECT_TRUE(worker_->complete());
  EXPECT_EQ(server_.requests().at(0).headers.at("range"),
            "bytes=" + std::to_string(reached) + "-1999");
  EXPECT_EQ(Package(), Untouched(1000) + content_.substr(1000, 1000) + Untouched(3000));
}

// 999 is one byte short of the task's 1000.
INSTANTIATE_TEST_SUITE_P(RangedDownload, CutConnectionTest, ::testing::Values(400, 999));

TEST(RangedDownloadWithoutHandleTest, FailsWithInitError) {
  CLibcurlTool tool(nullptr);
  test::TestWorker worker{test::SharedFile()};
  worker.Assign(3, 0, 9, 20);
  test::LogCapture log;
  EXPECT_EQ(tool.httpDownloadContent("http://127.0.0.1:1/x", 0, 9, &worker), CURLE_FAILED_INIT);
  EXPECT_EQ(log.lines(),
            (std::vector<std::string>{" Request Range: (3, 9) 0-9", " curl easy init fail !!!"}));
  EXPECT_EQ(tool.httpDownloadContent("http://127.0.0.1:1/x", 0, 9, nullptr),
            CURLE_BAD_FUNCTION_ARGUMENT);
}

}  // namespace
