// Exception reports: their bodies, and what the flow's failure reports send.
#include "telemetry/error_report.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "config/endpoints.h"
#include "fixtures/fault_http_server.h"
#include "fixtures/log_capture.h"
#include "telemetry/flow_failure_reports.h"
#include "user_log_harness.h"

namespace {

using telemetry::ErrorReportContext;
using telemetry::FlowError;

ErrorReportContext SomeContext() {
  ErrorReportContext context;
  context.downloaderId = 277;
  context.sourceIndicator = 1;
  context.queryUrl = "https://update.brisko.example/api/downloader?id=277&lang=1";
  context.packageUrl = "https://www.brisko.example/Brisko_Setup.exe";
  return context;
}

TEST(ErrorReportBody, FormatsOfTheFourReports) {
  const ErrorReportContext context = SomeContext();
  const std::string other =
      "&other=https://update.brisko.example/api/downloader?id=277&lang=1,"
      "https://www.brisko.example/Brisko_Setup.exe";
  EXPECT_EQ(telemetry::RedirectReportBody(context),
            "pid=277&type=2&exception_code=Url_Too_Many_Redirects" + other);
  struct Case {
    FlowError error;
    std::string exceptionCode;
  };
  const Case cases[] = {
      {FlowError::kMd5Mismatch, "MD5_Check_Fail_Cfg1"},
      {FlowError::kSignatureInvalid, "Hash_Check_Fail_Cfg1"},
      {FlowError::kMd5AndSignatureFailed, "MD5_Hash_Check_Fail_Cfg1"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(telemetry::VerificationReportBody(c.error, context),
              "pid=277&type=2&exception_code=" + c.exceptionCode + other);
  }
  EXPECT_EQ(telemetry::VerificationReportBody(FlowError::kNoNetwork, context), "");
}

TEST(ErrorReportBody, WithoutAQueryTheOtherFieldStartsWithAComma) {
  ErrorReportContext context = SomeContext();
  context.queryUrl.clear();
  EXPECT_TRUE(telemetry::RedirectReportBody(context).ends_with(
      "&other=,https://www.brisko.example/Brisko_Setup.exe"));
}

TEST(ErrorReportBody, AnOverlongQueryUrlGivesWayToThePackageUrl) {
  struct Case {
    const char* what;
    std::size_t queryBytes;
    bool redirect;
    std::size_t limit;
  };
  const Case cases[] = {
      {"redirect", 5000, true, 2047},
      {"verification", 5000, false, 1023},
      {"verification just fitting", 1023 - 150, false, 1023},
  };
  for (const Case& c : cases) {
    ErrorReportContext context = SomeContext();
    context.queryUrl = "https://update.brisko.example/?" + std::string(c.queryBytes, 'q');
    const std::string body =
        c.redirect ? telemetry::RedirectReportBody(context)
                   : telemetry::VerificationReportBody(FlowError::kMd5Mismatch, context);
    EXPECT_LE(body.size(), c.limit) << c.what;
    EXPECT_TRUE(body.ends_with("q," + context.packageUrl)) << c.what;
    EXPECT_NE(body.find("&other=https://update.brisko.example/?qqq"), std::string::npos) << c.what;
  }
}

TEST(ErrorReportUrl, TestEnvironmentPicksTheUpdateServer) {
  EXPECT_EQ(telemetry::ErrorReportUrl(true), GetEndpoints().updateServer + "/api/exception/send");
  EXPECT_EQ(telemetry::ErrorReportUrl(false), GetEndpoints().productAlert + "/api/exception/send");
}

// Both report services point at one local server, so these cases do not
// depend on TestEnv (the settings file case checks which one is chosen).
class FlowFailureReports : public ::testing::Test {
 protected:
  void SetUp() override {
    server_.Handle("POST", "/api/exception/send",
                   [](const httplib::Request&, httplib::Response& response) {
                     response.set_content("{\"status\":200}", "application/json");
                   });
    const std::string base = server_.url("");
    ASSERT_TRUE(LoadEndpointsXml("<Endpoints><Endpoint name=\"update_server\" url=\"" + base +
                                     "\"/><Endpoint name=\"product_alert\" url=\"" + base +
                                     "\"/></Endpoints>",
                                 nullptr));
  }
  void TearDown() override { ResetEndpoints(); }

  std::vector<std::string> PostedBodies() const {
    std::vector<std::string> bodies;
    for (const test::RecordedRequest& request : server_.requests()) {
      EXPECT_EQ(request.method, "POST");
      EXPECT_EQ(request.path, "/api/exception/send");
      bodies.push_back(request.body);
    }
    return bodies;
  }

  // The labels of the queued FlowError events.
  static std::vector<std::string> FlowErrorLabels(test::UserLogHarness& harness) {
    harness.Drain();
    std::vector<std::string> labels;
    for (const std::string& query : harness.record->ga4Queries) {
      const std::size_t at = query.find("&ep.cv_action=FlowError&ep.cv_label=");
      if (at == std::string::npos) continue;
      const std::size_t start = at + std::string("&ep.cv_action=FlowError&ep.cv_label=").size();
      labels.push_back(query.substr(start, query.find('&', start) - start));
    }
    return labels;
  }

  test::FaultHttpServer server_;
};

TEST_F(FlowFailureReports, DownloadRoundsRaiseTheirCodeAndRedirectsPostAReport) {
  struct Case {
    int result;
    std::vector<std::string> labels;
    bool posts;
  };
  const Case cases[] = {
      {1, {}, false},
      {9, {"DL010"}, false},
      {14, {"DL017"}, false},
      {13, {"DL022"}, true},
  };
  for (const Case& c : cases) {
    server_.ClearRequests();
    test::LogCapture capture;
    test::UserLogHarness harness;
    telemetry::ReportDownloadRound(c.result, SomeContext(), *harness.log);
    EXPECT_EQ(FlowErrorLabels(harness), c.labels) << c.result;
    const std::vector<std::string> expectedBodies =
        c.posts ? std::vector<std::string>{telemetry::RedirectReportBody(SomeContext())}
                : std::vector<std::string>{};
    EXPECT_EQ(PostedBodies(), expectedBodies) << c.result;
    const std::vector<std::string> lines = capture.lines();
    const bool logged =
        std::find(lines.begin(), lines.end(),
                  " Send error report1, response is {\"status\":200}, return 0") != lines.end();
    EXPECT_EQ(logged, c.posts) << c.result;
  }
}

TEST_F(FlowFailureReports, VerificationRaisesOneCodeAndPostsItsReport) {
  struct Case {
    bool md5Passed;
    bool signaturePassed;
    std::vector<std::string> labels;
    const char* exceptionCode;  // nullptr: no report
  };
  const Case cases[] = {
      {true, true, {}, nullptr},
      {false, true, {"DL013"}, "MD5_Check_Fail_Cfg2"},
      {true, false, {"DL014"}, "Hash_Check_Fail_Cfg2"},
      {false, false, {"DL015"}, "MD5_Hash_Check_Fail_Cfg2"},
  };
  for (const Case& c : cases) {
    server_.ClearRequests();
    test::LogCapture capture;
    test::UserLogHarness harness;
    ErrorReportContext context = SomeContext();
    context.sourceIndicator = 2;
    telemetry::ReportVerification(c.md5Passed, c.signaturePassed, context, *harness.log);
    EXPECT_EQ(FlowErrorLabels(harness), c.labels);
    const std::vector<std::string> bodies = PostedBodies();
    if (!c.exceptionCode) {
      EXPECT_TRUE(bodies.empty());
      continue;
    }
    ASSERT_EQ(bodies.size(), 1u);
    EXPECT_TRUE(bodies[0].starts_with(std::string("pid=277&type=2&exception_code=") +
                                      c.exceptionCode + "&other="))
        << bodies[0];
    const std::vector<std::string> lines = capture.lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        " Send error report2, response is {\"status\":200}, return 0"),
              lines.end());
  }
}

TEST_F(FlowFailureReports, AnUnreachableServiceIsOnlyLogged) {
  std::string closedBase;
  {
    test::FaultHttpServer gone;
    closedBase = gone.url("");
  }
  ASSERT_TRUE(LoadEndpointsXml("<Endpoints><Endpoint name=\"update_server\" url=\"" + closedBase +
                                   "\"/><Endpoint name=\"product_alert\" url=\"" + closedBase +
                                   "\"/></Endpoints>",
                               nullptr));
  test::LogCapture capture;
  const int result = telemetry::PostErrorReport("pid=1", 2);
  EXPECT_NE(result, 0);
  const std::vector<std::string> lines = capture.lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      " Send error report2, response is , return " + std::to_string(result)),
            lines.end());
}

}  // namespace
