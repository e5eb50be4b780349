// NSISLog: one usage record per call, sent in the background, never holding
// up the end of the process.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "web_log_fixture.h"
#include "weblog/web_log_exports.h"

namespace {

using std::chrono::steady_clock;

constexpr char kGuid[] = "0A1B2C3D-4E5F-4ABC-8DEF-0123456789AB";

class UsageReporterTest : public weblog_test::WebLogTest {
 protected:
  // Waits up to 10 s for `count` requests to `path`.
  bool WaitForRequests(const std::string& path, std::size_t count) const {
    const auto limit = steady_clock::now() + std::chrono::seconds(10);
    while (RequestsTo(path).size() < count) {
      if (steady_clock::now() > limit) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
  }
};

// The process has one reporter: this is the only test that lets it start in
// the test process itself.
TEST_F(UsageReporterTest, EachCallSendsOneRecordInOrder) {
  WriteRecord(kGuid, "4711");
  Answer("GET", "/log/QueryUser", 200, "4711");
  Answer("GET", "/geo/csv", 200,
         "success,Japan,JP,13,Tokyo,Tokyo,100,35.6,139.7,tz,i,o,a,198.51.100.2");
  Answer("GET", "/log/AddUserLog", 200, "ok");
  EXPECT_EQ(NSISLog(10100, 7, 1033, 3), 0);
  EXPECT_EQ(NSISLog(10200, 8, 2052, 4), 0);
  ASSERT_TRUE(WaitForRequests("/log/AddUserLog", 2));
  const auto records = RequestsTo("/log/AddUserLog");
  EXPECT_EQ(records[0].query,
            "USER_ID=4711&OP_ID=00010100&SoftWareID=00000007&RegEmail=&UseTime=&Location=Japan"
            "&City=Tokyo&OutIP=198.51.100.2&LanguageId=00001033&Result=00000001&ResultData="
            "&SiteID=00000003&CurVersion=&ActivityID=00000000&VersionID=00000000");
  EXPECT_NE(records[1].query.find("&OP_ID=00010200&SoftWareID=00000008&"), std::string::npos);
  EXPECT_NE(
      records[1].query.find("&LanguageId=00002052&Result=00000001&ResultData=&SiteID=00000004&"),
      std::string::npos);
  EXPECT_EQ(RequestsTo("/log/QueryUser").size(), 2u) << "user info before each record";
}

TEST_F(UsageReporterTest, ExitIsNotHeldUpByARecordInFlight) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  Hang("GET", "/site/downloads/service/softwarelog.txt");
  const auto start = steady_clock::now();
  EXPECT_EXIT(
      {
        NSISLog(10100, 7, 1033, 3);
        if (!WaitForRequests("/site/downloads/service/softwarelog.txt", 1)) std::_Exit(3);
        std::exit(0);  // runs the static destructors, the reporter's among them
      },
      testing::ExitedWithCode(0), "");
  // Without cancelling, the hanging request alone would take its 6 s stall
  // limit three times over.
  EXPECT_LT(steady_clock::now() - start, std::chrono::seconds(8));
}

}  // namespace
