// GetUserInfo: the service's base URL, the machine record, the user id and
// the geolocation it needs for a new machine.
#include <gtest/gtest.h>

#include <functional>
#include <regex>

#include "web_log_fixture.h"

namespace {

constexpr char kBaseFile[] = "/site/downloads/service/softwarelog.txt";
constexpr char kGeolocation[] = "/geo/csv";

class UserInfoTest : public weblog_test::WebLogTest {
 protected:
  // Runs GetUserInfo on `log` and checks the outputs point at its fields.
  static void GetUserInfo(WebLog& log) {
    const char* guid = nullptr;
    const char* userId = nullptr;
    ASSERT_EQ(log.GetUserInfo(&guid, &userId), 0);
    ASSERT_TRUE(guid && userId);
    EXPECT_EQ(guid, log.guid().c_str());
    EXPECT_EQ(userId, log.userId().c_str());
  }
};

TEST_F(UserInfoTest, TheBaseUrlFileChoosesTheService) {
  struct Case {
    const char* what;
    int status;
    std::string body;
    std::string expectedService;  // path prefix on the server
    std::size_t expectedAsks;     // for the file
  };
  const Case cases[] = {
      {"an address", 200, server_.url("/custom") + "\r\n", "/custom", 1},
      {"text without http", 200, "down for maintenance", "/log", 1},
      {"empty", 200, "", "/log", 1},
      {"missing", 404, "", "/log", 3},
  };
  Answer("GET", "/custom/QueryUser", 200, "4711");
  Answer("GET", "/log/QueryUser", 200, "4711");
  WriteRecord(weblog_test::kGuid, "");
  for (const Case& c : cases) {
    server_.ClearRequests();
    Answer("GET", kBaseFile, c.status, c.body);
    const auto log = MakeWebLog();
    GetUserInfo(*log);
    EXPECT_EQ(log->baseUrl(), server_.url(c.expectedService)) << c.what;
    EXPECT_EQ(RequestsTo(kBaseFile).size(), c.expectedAsks) << c.what;
    EXPECT_EQ(RequestsTo(c.expectedService + "/QueryUser").size(), 1u) << c.what;
    EXPECT_EQ(log->userId(), "4711") << c.what;
  }
}

TEST_F(UserInfoTest, AFailingBaseUrlFileKeepsTheLastChoice) {
  Answer("GET", kBaseFile, 200, server_.url("/custom"));
  WriteRecord(weblog_test::kGuid, "");
  const auto log = MakeWebLog();
  GetUserInfo(*log);
  Answer("GET", kBaseFile, 503);
  GetUserInfo(*log);
  EXPECT_EQ(log->baseUrl(), server_.url("/custom"));
}

TEST_F(UserInfoTest, AKnownMachineGetsItsUserId) {
  WriteRecord(weblog_test::kGuid, "77");
  Answer("GET", "/log/QueryUser", 200, "4711");
  const auto log = MakeWebLog();
  GetUserInfo(*log);
  EXPECT_EQ(log->guid(), weblog_test::kGuid);
  EXPECT_EQ(log->userId(), "4711");
  const auto asked = RequestsTo("/log/QueryUser");
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].query, std::string("guid=") + weblog_test::kGuid);
  // The WinINet request headers of the Windows program.
  EXPECT_EQ(asked[0].headers.at("accept-language"), "zh-cn");
  EXPECT_EQ(asked[0].headers.at("user-agent"),
            "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0; MyIE2; .NET CLR 1.1.4322)");
  EXPECT_EQ(RecordValue(L"user_id"), "77");
  EXPECT_TRUE(RequestsTo(kGeolocation).empty());
}

TEST_F(UserInfoTest, AnEmptyAnswerKeepsTheGuidAndStoresUser1001) {
  WriteRecord(weblog_test::kGuid, "77");
  Answer("GET", "/log/QueryUser", 200, "");
  Answer("GET", kGeolocation, 200, weblog_test::kGeoAnswer);
  const auto log = MakeWebLog();
  GetUserInfo(*log);
  EXPECT_EQ(log->guid(), weblog_test::kGuid);
  EXPECT_EQ(log->userId(), "1001");
  EXPECT_EQ(RecordValue(L"guid"), weblog_test::kGuid);
  EXPECT_EQ(RecordValue(L"user_id"), "1001");
  EXPECT_EQ(log->location(), "Germany");
}

TEST_F(UserInfoTest, ANewMachineGetsAGuidThatTheNextRunAsksFor) {
  const auto first = MakeWebLog();
  GetUserInfo(*first);
  EXPECT_TRUE(std::regex_match(first->guid(), std::regex("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-"
                                                         "[89AB][0-9A-F]{3}-[0-9A-F]{12}")))
      << first->guid();
  EXPECT_EQ(first->userId(), "1001");
  EXPECT_TRUE(RequestsTo("/log/QueryUser").empty()) << "no record, nothing to ask for";
  EXPECT_EQ(RecordValue(L"guid"), first->guid());
  EXPECT_EQ(RecordValue(L"user_id"), "1001");

  Answer("GET", "/log/QueryUser", 200, "9000");
  const auto second = MakeWebLog();
  GetUserInfo(*second);
  EXPECT_EQ(second->guid(), first->guid());
  EXPECT_EQ(second->userId(), "9000");
  ASSERT_EQ(RequestsTo("/log/QueryUser").size(), 1u);
  EXPECT_EQ(RequestsTo("/log/QueryUser")[0].query, "guid=" + first->guid());
}

TEST_F(UserInfoTest, AGarbageRecordIsReplaced) {
  for (const std::string& garbage : {std::string("not-a-guid&x=1"), std::string(100000, 'A'),
                                     std::string("\xff\xfe\x01"), std::string(weblog_test::kGuid) + " "}) {
    server_.ClearRequests();
    WriteRecord(garbage, "garbage user");
    const auto log = MakeWebLog();
    GetUserInfo(*log);
    EXPECT_TRUE(RequestsTo("/log/QueryUser").empty());
    EXPECT_NE(log->guid(), garbage);
    EXPECT_EQ(RecordValue(L"guid"), log->guid());
    EXPECT_EQ(RecordValue(L"user_id"), "1001");
  }
}

TEST_F(UserInfoTest, AnUnreachableServiceLeavesTheIdentityAsItWas) {
  const std::pair<const char*, std::function<void()>> faults[] = {
      {"500", [&] { Answer("GET", "/log/QueryUser", 500, "oops"); }},
      {"hang", [&] { Hang("GET", "/log/QueryUser"); }},
      {"close", [&] { CloseMidAnswer("GET", "/log/QueryUser"); }},
  };
  for (const auto& [what, install] : faults) {
    server_.ClearRequests();
    install();
    WriteRecord(weblog_test::kGuid, "77");
    const auto log = MakeWebLog();
    GetUserInfo(*log);
    EXPECT_EQ(RequestsTo("/log/QueryUser").size(), 3u) << what;
    EXPECT_EQ(log->guid(), "") << what;
    EXPECT_EQ(log->userId(), "") << what;
    EXPECT_EQ(RecordValue(L"user_id"), "77") << what;
  }
}

TEST_F(UserInfoTest, GeolocationIsAskedAgainUntilSuccess) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, std::string>> answers;  // the last one repeats
    std::size_t expectedAsks;
    std::string expectedCountry, expectedCity, expectedIp;
  };
  const Case cases[] = {
      {"success at once", {{200, weblog_test::kGeoAnswer}}, 1, "Germany", "Berlin", "203.0.113.7"},
      {"success third",
       {{200, "fail,busy"}, {200, "busy"}, {200, weblog_test::kGeoAnswer}},
       3,
       "Germany",
       "Berlin",
       "203.0.113.7"},
      {"never success", {{200, "fail,private range,192.168.0.1"}}, 5, "", "", ""},
      {"empty answer", {{200, ""}}, 1, "", "", ""},
      {"no service", {{404, ""}}, 1, "", "", ""},
  };
  for (const Case& c : cases) {
    server_.ClearRequests();
    auto served = std::make_shared<std::atomic<std::size_t>>(0);
    const auto answers = c.answers;
    server_.Handle("GET", kGeolocation,
                   [served, answers](const httplib::Request&, httplib::Response& response) {
                     const std::size_t i = std::min(served->fetch_add(1), answers.size() - 1);
                     response.status = answers[i].first;
                     response.set_content(answers[i].second, "text/csv");
                   });
    std::filesystem::remove_all(dir_.path() / "registry");  // a new machine resolves its location
    const auto log = MakeWebLog();
    GetUserInfo(*log);
    EXPECT_EQ(RequestsTo(kGeolocation).size(), c.expectedAsks) << c.what;
    EXPECT_EQ(log->location(), c.expectedCountry) << c.what;
    EXPECT_EQ(log->city(), c.expectedCity) << c.what;
    EXPECT_EQ(log->outIp(), c.expectedIp) << c.what;
  }
}

}  // namespace
