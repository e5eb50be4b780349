// HeaderCallback line by line: the CDN status it collects and the answers
// it refuses before their bodies reach the package.
#include <gtest/gtest.h>

#include <vector>

#include "download/CLibcurlTool.h"
#include "fixtures/log_capture.h"
#include "test_worker.h"

namespace {

struct HeaderCase {
  const char* name;
  std::int64_t contentLength;
  std::int64_t downloadedPos;
  const char* probeCdnStatus;
  std::vector<std::string> lines;  // all but the last must be accepted
  bool lastAccepted;
  const char* cdnStatus;  // afterwards
  const char* logged;     // the last log line starts so; "" when nothing is logged
};
void PrintTo(const HeaderCase& c, std::ostream* out) { *out << c.name; }

class HeaderLineTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderLineTest, Handles) {
  const HeaderCase& c = GetParam();
  test::TestWorker worker{test::SharedFile()};
  worker.Assign(1, 0, 4194303, c.contentLength);
  worker.task.DownloadedPos = c.downloadedPos;
  worker.task.probeCdnStatus = c.probeCdnStatus;
  test::LogCapture log;
  for (std::size_t i = 0; i < c.lines.size(); ++i) {
    std::string line = c.lines[i];
    const bool last = i + 1 == c.lines.size();
    const std::size_t expected = !last || c.lastAccepted ? line.size() : 0;
    EXPECT_EQ(CLibcurlTool::HeaderCallback(line.data(), 1, line.size(), &worker), expected) << line;
  }
  EXPECT_EQ(worker.task.cdnStatus, c.cdnStatus);
  if (*c.logged) {
    ASSERT_FALSE(log.lines().empty());
    EXPECT_EQ(log.lines().back().rfind(c.logged, 0), 0u) << log.lines().back();
  } else {
    EXPECT_TRUE(log.lines().empty());
  }
}

const std::string kRay = "CF-RAY: 7d2f3a4b5c6d7e8f-LAX\r\n";
const std::string kCache = "CF-Cache-Status: HIT\r\n";
const std::string kRange = "Content-Range: bytes 0-4194303/52428800\r\n";

INSTANTIATE_TEST_SUITE_P(
    HeaderCallback, HeaderLineTest,
    ::testing::Values(
        HeaderCase{"RayThenCache", 52428800, 0, "", {kRay, kCache}, true, "LAX/HIT", ""},
        HeaderCase{"CacheThenRay", 52428800, 0, "", {kCache, kRay}, true, "LAX/HIT", ""},
        HeaderCase{"SameAsProbeIsEmptied", 52428800, 0, "LAX/HIT", {kRay, kCache}, true, "", ""},
        HeaderCase{"RayAlone", 52428800, 0, "LAX", {kRay}, true, "LAX", ""},
        // HTTP/2 sends names in lower case.
        HeaderCase{"LowerCaseNames",
                   52428800,
                   0,
                   "",
                   {"cf-ray: 1a2b-FRA\r\n", "cf-cache-status: MISS\r\n"},
                   true,
                   "FRA/MISS",
                   ""},
        HeaderCase{"EmptyCacheStatusChangesNothing",
                   52428800,
                   0,
                   "",
                   {"CF-Cache-Status:\r\n"},
                   true,
                   "",
                   ""},
        HeaderCase{"RayWithoutDataCentre", 52428800, 0, "", {"CF-RAY: 7d2f\r\n"}, true, "", ""},
        HeaderCase{"MatchingRange",
                   52428800,
                   0,
                   "",
                   {"HTTP/1.1 206 Partial Content\r\n", kRange},
                   true,
                   "",
                   ""},
        HeaderCase{"OtherTotal",
                   52428801,
                   0,
                   "",
                   {kRange},
                   false,
                   "",
                   " HeaderCallback error1: 52428801 != Content-Range: bytes 0-4194303/52428800"},
        HeaderCase{"RangeWithoutSlash",
                   52428800,
                   0,
                   "",
                   {"Content-Range: bytes 0-4194303\r\n"},
                   false,
                   "",
                   " HeaderCallback error2: Content-Range: bytes 0-4194303"},
        HeaderCase{"RangeStartingElsewhere",
                   52428800,
                   4096,
                   "",
                   {kRange},
                   false,
                   "",
                   " HeaderCallback error4: "},
        HeaderCase{"RangeStartingAtResumePoint",
                   52428800,
                   4096,
                   "",
                   {"Content-Range: bytes 4096-4194303/52428800\r\n"},
                   true,
                   "",
                   ""},
        // With the length unknown the table's lines are not looked at.
        HeaderCase{"UnknownLengthIgnoresTable",
                   0,
                   0,
                   "",
                   {kRay, kCache, "Content-Range: bytes 0-9/77\r\n"},
                   true,
                   "",
                   ""},
        HeaderCase{"UnknownLengthStillChecksStart",
                   0,
                   5,
                   "",
                   {"Content-Range: bytes 0-9/77\r\n"},
                   false,
                   "",
                   " HeaderCallback error4: "},
        HeaderCase{"WholeFileAnswer",
                   52428800,
                   0,
                   "",
                   {"HTTP/1.1 200 OK\r\n"},
                   false,
                   "",
                   " HeaderCallback error3: HTTP/1.1 200 OK"},
        HeaderCase{"ServerError",
                   52428800,
                   0,
                   "",
                   {"HTTP/1.1 503 Service Unavailable\r\n"},
                   false,
                   "",
                   " HeaderCallback error3: "},
        HeaderCase{"NotSatisfiable",
                   0,
                   0,
                   "",
                   {"HTTP/1.1 416 Range Not Satisfiable\r\n"},
                   false,
                   "",
                   " HeaderCallback error3: "},
        HeaderCase{"RedirectsAreFollowed",
                   52428800,
                   0,
                   "",
                   {"HTTP/1.1 302 Found\r\n", "Location: /x\r\n", "\r\n", "HTTP/2 206 \r\n"},
                   true,
                   "",
                   ""},
        HeaderCase{"OtherLines",
                   52428800,
                   0,
                   "",
                   {"Content-Type: application/zip\r\n", "\r\n"},
                   true,
                   "",
                   ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HeaderCallbackTest, GoesOnWithoutLineOrTask) {
  test::TestWorker worker{test::SharedFile()};
  worker.Assign(1, 0, 9, 20);
  EXPECT_EQ(CLibcurlTool::HeaderCallback(nullptr, 1, 12, &worker), 12u);
  std::string line = "HTTP/1.1 200 OK\r\n";
  EXPECT_EQ(CLibcurlTool::HeaderCallback(line.data(), 1, line.size(), nullptr), line.size());
}

}  // namespace
