// The log service operations: usage records and the other queries.
#include <gtest/gtest.h>

#include "web_log_fixture.h"

namespace {


class ServiceTest : public weblog_test::WebLogTest {
 protected:
  // A WebLog that knows itself (guid, user id 4711); its location comes with
  // the first usage record.
  std::unique_ptr<WebLog> KnownWebLog() {
    WriteRecord(weblog_test::kGuid, "4711");
    Answer("GET", "/log/QueryUser", 200, "4711");
    Answer("GET", "/geo/csv", 200, weblog_test::kGeoAnswer);
    auto log = MakeWebLog();
    const char* guid = nullptr;
    const char* userId = nullptr;
    log->GetUserInfo(&guid, &userId);
    server_.ClearRequests();
    return log;
  }
  std::vector<std::string> UsageQueries() const {
    std::vector<std::string> queries;
    for (const auto& request : RequestsTo("/log/AddUserLog")) queries.push_back(request.query);
    return queries;
  }
};

TEST_F(ServiceTest, UsageRecordQuery) {
  facts_.tickCount = 100000;
  Answer("GET", "/log/AddUserLog", 200, "ok");
  const auto log = KnownWebLog();
  facts_.tickCount = 105999;
  EXPECT_EQ(log->AddUsageLog(10202, 1, "done", 7, 1033, 3, "1.0.0.1", "a@b.example", 0, -2), 0);
  EXPECT_EQ(UsageQueries(),
            std::vector<std::string>{
                "USER_ID=4711&OP_ID=00010202&SoftWareID=00000007&RegEmail=a@b.example&UseTime=5"
                "&Location=Germany&City=Berlin&OutIP=203.0.113.7&LanguageId=00001033"
                "&Result=00000001&ResultData=done&SiteID=00000003&CurVersion=1.0.0.1"
                "&ActivityID=00000000&VersionID=-0000002"});
}

TEST_F(ServiceTest, UseTimeIsEmptyUntilMeasuredAndSurvivesTheTickWrap) {
  Answer("GET", "/log/AddUserLog", 200, "ok");
  facts_.tickCount = 0xFFFFF000u;
  const auto log = KnownWebLog();
  log->AddUsageLog(10100, 1, "", 7, 0, 0, "", "", 0, 0);
  facts_.tickCount = 0x100001000u;  // GetTickCount wrapped; 8.192 s later
  log->AddUsageLog(10202, 1, "", 7, 0, 0, "", "", 0, 0);
  const auto queries = UsageQueries();
  ASSERT_EQ(queries.size(), 2u);
  EXPECT_NE(queries[0].find("&UseTime=&"), std::string::npos) << queries[0];
  EXPECT_NE(queries[1].find("&UseTime=8&"), std::string::npos) << queries[1];
}

TEST_F(ServiceTest, UsageRecordNeedsOperationSoftwareAndGuid) {
  Answer("GET", "/log/AddUserLog", 200, "ok");
  const auto known = KnownWebLog();
  EXPECT_EQ(known->AddUsageLog(0, 1, "", 7, 0, 0, "", "", 0, 0), -1);
  EXPECT_EQ(known->AddUsageLog(10100, 1, "", 0, 0, 0, "", "", 0, 0), -1);
  const auto unknown = MakeWebLog();  // no GetUserInfo: no guid
  EXPECT_EQ(unknown->AddUsageLog(10100, 1, nullptr, 7, 0, 0, nullptr, nullptr, 0, 0), -1);
  EXPECT_TRUE(UsageQueries().empty());
}

TEST_F(ServiceTest, UsageRecordSucceedsOnlyWithAnAnswer) {
  const auto log = KnownWebLog();
  const std::pair<int, const char*> answers[] = {{200, "ok"}, {200, ""}, {500, "ok"}};
  const int expected[] = {0, -1, -1};
  for (int i = 0; i < 3; ++i) {
    Answer("GET", "/log/AddUserLog", answers[i].first, answers[i].second);
    EXPECT_EQ(log->AddUsageLog(10100, 1, "", 7, 0, 0, "", "", 0, 0), expected[i]) << i;
  }
}

TEST_F(ServiceTest, UsageRecordResolvesAMissingLocation) {
  WriteRecord(weblog_test::kGuid, "4711");
  Answer("GET", "/log/QueryUser", 200, "4711");  // known machine: no location asked so far
  Answer("GET", "/log/AddUserLog", 200, "ok");
  const auto log = MakeWebLog();
  log->GetUserInfo(nullptr, nullptr);
  EXPECT_TRUE(RequestsTo("/geo/csv").empty());
  Answer("GET", "/geo/csv", 200, weblog_test::kGeoAnswer);
  EXPECT_EQ(log->AddUsageLog(10100, 1, "", 7, 0, 0, "", "", 0, 0), 0);
  EXPECT_EQ(RequestsTo("/geo/csv").size(), 1u);
  EXPECT_NE(UsageQueries().at(0).find("&Location=Germany&City=Berlin&OutIP=203.0.113.7&"),
            std::string::npos);
}

TEST_F(ServiceTest, TheFirstCallValuesAreRemembered) {
  Answer("GET", "/log/AddUserLog", 200, "ok");
  Answer("GET", "/log/QueryTools", 200, "tools");
  const auto log = KnownWebLog();
  log->AddUsageLog(0, 1, "", 0, 0, 0, "", "", 0, 0);
  log->AddUsageLog(10100, 1, "", 5, 0, 0, "", "first@b.example", 0, 0);
  log->AddUsageLog(10200, 1, "", 9, 0, 0, "", "second@b.example", 0, 0);
  const WebLog::RememberedCall& remembered = log->rememberedCall();
  EXPECT_EQ(remembered.operation, 10100);
  EXPECT_EQ(remembered.softwareId, 5);
  EXPECT_EQ(remembered.email, "first@b.example");
  EXPECT_EQ(remembered.lastSoftwareId, "00000009");
  // A query without its own software id takes the last one.
  log->QueryTools(nullptr, 1033, 0);
  EXPECT_EQ(RequestsTo("/log/QueryTools").at(0).query, "LanguageId=00001033&SoftWareID=00000009");
}

TEST_F(ServiceTest, QueriesReportsAndFeedback) {
  struct Case {
    const char* what;
    std::string method, path;
    std::function<int(WebLog&, const char**)> call;
    std::string expectedRequest;  // query for GET, body for POST
    std::string goodAnswer, badAnswer;
    bool returnsAnswer;
  };
  const Case cases[] = {
      {"QueryTools", "GET", "/log/QueryTools",
       [](WebLog& log, const char** answer) { return log.QueryTools(answer, 1033, 7); },
       "LanguageId=00001033&SoftWareID=00000007", "tool list", "", true},
      {"QueryDownloader", "GET", "/log/QueryDownloader",
       [](WebLog& log, const char** answer) { return log.QueryDownloader(answer, 1033, 7, 3); },
       "LanguageId=00001033&SoftWareID=00000007&SiteID=00000003", "downloader", "", true},
      {"ReportLog", "GET", "/log/ReportLog",
       [](WebLog& log, const char**) { return log.ReportLog(7, "a@b.example", "text", "u1"); },
       "USER_ID=4711&SoftWareID=00000007&Email=a@b.example&OutIP=&Content=text&UploadID=u1", "", "",
       false},
      {"SubmitFeedback", "POST", "/support/api/v1/ticket/feedback",
       [](WebLog& log, const char**) {
         return log.SubmitFeedback("12", "a@b.example", "hello", "L1", "1.0", "subject");
       },
       "product_id=12&useremail=a@b.example&content=hello&log_id=L1&version=1.0&subject=subject",
       R"({"status":200,"msg":"ok"})", R"({"status":500})", false},
  };
  const auto log = KnownWebLog();
  for (const Case& c : cases) {
    server_.ClearRequests();
    Answer(c.method, c.path, 200, c.goodAnswer);
    const char* answer = nullptr;
    EXPECT_EQ(c.call(*log, &answer), 0) << c.what;
    if (c.returnsAnswer) {
      EXPECT_STREQ(answer, c.goodAnswer.c_str()) << c.what;
    }
    const auto requests = RequestsTo(c.path);
    ASSERT_EQ(requests.size(), 1u) << c.what;
    EXPECT_EQ(requests[0].method, c.method) << c.what;
    EXPECT_EQ(c.method == "GET" ? requests[0].query : requests[0].body, c.expectedRequest)
        << c.what;

    if (c.method == "GET" && !c.returnsAnswer) {
      Answer(c.method, c.path, 500);  // answered means HTTP 200
    } else {
      Answer(c.method, c.path, 200, c.badAnswer);
    }
    EXPECT_EQ(c.call(*log, &answer), -1) << c.what;
    if (c.returnsAnswer) {
      EXPECT_STREQ(answer, "") << c.what;
    }
  }
}

}  // namespace
