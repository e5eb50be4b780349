// What CSingleUserLog puts into its events: the run's values, the window's,
// the day marker, and the funnel error phases.
#include <gtest/gtest.h>

#include <thread>

#include "fixtures/temp_dir.h"
#include "json_text.h"
#include "system/site_names.h"
#include "user_log_harness.h"

namespace {

class FakeWindow : public IUserLogWindow {
 public:
  std::wstring SoftwareVersion() const override { return L"2.3.1"; }
  int LanguageIndex() const override { return 2; }
};

constexpr const char* kDownloadUrl = "https://www.brisko.example/Brisko_Bing_Setup.exe";

void SetRun(CSingleUserLog& log, const test::TempDir& workDirectory, bool kitFlag = false) {
  log.SetUserLogInfo(11, "Brisko Studio", kDownloadUrl, kitFlag, workDirectory.wpath(), 42);
}

std::vector<Json::Value> Bodies(const test::FakeWebLog::Record& record) {
  std::vector<Json::Value> bodies;
  for (const std::string& text : record.funnelBodies) bodies.push_back(test::ParseJson(text));
  return bodies;
}

// "actions"/"event_action" of the bodies of one core function, in send order.
std::vector<std::string> StepActions(const std::vector<Json::Value>& bodies,
                                     const std::string& coreFunc) {
  std::vector<std::string> actions;
  for (const Json::Value& body : bodies) {
    if (body["actions"]["core_func_name"] == coreFunc) {
      actions.push_back(body["actions"]["event_action"].asString());
    }
  }
  return actions;
}

TEST(UserLogContent, Ga4QueryCarriesTheRunAndTheMachine) {
  test::TempDir dir;
  test::UserLogHarness harness;
  SetRun(*harness.log, dir);
  harness.log->AddUserLog("PC", "SysLanguage", "German");
  harness.Drain();
  ASSERT_EQ(harness.record->ga4Queries.size(), 1u);
  const std::string& query = harness.record->ga4Queries[0];
  const std::string dimensions = "&ep.cd1=1.0.0.1&ep.cd2=" + GetChannelClass(11) +
                                 "&ep.cd3=" + GetSiteName(kDownloadUrl, 11) +
                                 "&ep.cd4=Brisko Studio&ep.cd5=Austria&ep.cd6=German"
                                 "&ep.cd7=Debian GNU/Linux 12 64bit&ep.cd8=1";
  EXPECT_TRUE(query.ends_with("&ep.cv_label=German&en=SysLanguage" + dimensions)) << query;
}

TEST(UserLogContent, FunnelBodyCarriesTheRunAndTheWindow) {
  test::TempDir dir;
  test::UserLogHarness harness;
  SetRun(*harness.log, dir);
  harness.log->AddUserLog_funnel("Keypoint", "null", 0, "CorePublicModule", "Start", "null");
  FakeWindow window;
  harness.log->SetMainWindow(&window);
  harness.log->AddUserLog_funnelEx("Download", "DownloadEnvReady", "", "");
  harness.log->SetMainWindow(nullptr);
  harness.Drain();
  const std::vector<Json::Value> bodies = Bodies(*harness.record);
  ASSERT_EQ(bodies.size(), 2u);
  for (const Json::Value& body : bodies) {
    EXPECT_EQ(body["product"], "Brisko Studio");
    EXPECT_EQ(body["pid"], 42);
    EXPECT_EQ(body["cross_end_id"], "k9Xq2");
    EXPECT_EQ(body["rnclid"], "k9Xq2");
    EXPECT_EQ(body["tools_version"], "1.0.0.1");
    EXPECT_EQ(body["kit_type"], 0);
    EXPECT_EQ(body["is_new"], 1);
  }
  EXPECT_EQ(bodies[0]["product_version"], "");
  EXPECT_EQ(bodies[0]["tools_lang"], "");
  EXPECT_EQ(bodies[1]["product_version"], "2.3.1");
  EXPECT_EQ(bodies[1]["tools_lang"], "zh-cn");
}

TEST(UserLogContent, SecondStartOfTheDayIsNotNewAndOnlyTheFirstBodyWritesTheVersion) {
  test::TempDir dir;
  const auto marker = dir.path() / "galog.json";
  {
    test::UserLogHarness first;
    SetRun(*first.log, dir);
    EXPECT_EQ(test::ParseJson(test::ReadFile(marker)).isMember("version"), false);
    first.log->AddUserLog_funnelEx("Download", "SliceDownloadStart", "", "");
    EXPECT_EQ(test::ParseJson(test::ReadFile(marker))["version"], "1.0.0.1");
    // Later bodies leave the marker alone.
    Json::Value edited = test::ParseJson(test::ReadFile(marker));
    edited["version"] = "edited";
    test::WriteFile(marker, edited.toStyledString());
    first.log->AddUserLog_funnelEx("Download", "SliceDownloading", "", "");
    EXPECT_EQ(test::ParseJson(test::ReadFile(marker))["version"], "edited");
  }
  test::UserLogHarness second;
  SetRun(*second.log, dir);
  second.log->AddUserLog_funnelEx("Download", "DownloadSuccess", "", "");
  second.Drain();
  ASSERT_EQ(second.record->funnelBodies.size(), 1u);
  EXPECT_EQ(test::ParseJson(second.record->funnelBodies[0])["is_new"], 0);
  EXPECT_EQ(test::ParseJson(test::ReadFile(marker))["version"], "1.0.0.1");
}

TEST(UserLogFlowError, RaisesErrorReportingAndOpensThePhaseOnce) {
  test::TempDir dir;
  test::UserLogHarness harness;
  SetRun(*harness.log, dir);
  EXPECT_EQ(harness.log->AddUserLog("Other", "FlowError", "DL008"), 0);
  EXPECT_EQ(harness.log->AddUserLog("Other", "FlowError", "DL010"), 0);
  harness.Drain();
  const std::vector<Json::Value> bodies = Bodies(*harness.record);
  std::vector<std::string> queued;
  for (const Json::Value& body : bodies) {
    queued.push_back(body["actions"]["event_action"].asString());
    EXPECT_EQ(body["kit_type"], 0);
  }
  EXPECT_EQ(queued,
            (std::vector<std::string>{"Error", "CoreFuncStart", "DL008", "Error", "DL010"}));
  EXPECT_EQ(bodies[0]["actions"]["event_category"], "ErrorReporting");
  EXPECT_EQ(bodies[0]["actions"]["MainErrorType"], "DL008");
  EXPECT_EQ(bodies[3]["actions"]["MainErrorType"], "DL010");
  EXPECT_EQ(bodies[1]["actions"]["func_step"], 0);
  EXPECT_EQ(bodies[2]["actions"]["func_step"], 0);
  EXPECT_EQ(bodies[4]["actions"]["func_step"], 1);
  EXPECT_EQ(bodies[4]["actions"]["core_func_name"], "FlowError");
  ASSERT_EQ(harness.record->ga4Queries.size(), 2u);
  EXPECT_NE(harness.record->ga4Queries[0].find("&ep.cv_action=FlowError&ep.cv_label=DL008&"),
            std::string::npos);
}

TEST(UserLogFlowError, CloseEndsTheOpenedPhasesAtOnce) {
  struct Case {
    const char* what;
    std::vector<const char*> errorActions;  // sent before the close
    std::vector<std::string> endedPhases;
  };
  const Case cases[] = {
      {"no error", {}, {}},
      {"flow error", {"FlowError"}, {"FlowError"}},
      {"tool kit error", {"FlowErrorIsChToolKitErrorCode"}, {"FlowIsChToolKitError"}},
      {"both",
       {"FlowErrorIsChToolKitErrorCode", "FlowError"},
       {"FlowError", "FlowIsChToolKitError"}},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    test::UserLogHarness harness;
    SetRun(*harness.log, dir);
    for (const char* action : c.errorActions) harness.log->AddUserLog("Other", action, "DL019");
    harness.Drain();  // the sender is gone: what follows must go out at once
    EXPECT_EQ(harness.log->AddUserLog("CrashRate", "Close", "user", false), 0) << c.what;
    std::vector<std::string> ended;
    for (const Json::Value& body : Bodies(*harness.record)) {
      if (body["actions"]["event_action"] == "CoreFuncEnd") {
        ended.push_back(body["actions"]["core_func_name"].asString());
      }
    }
    EXPECT_EQ(ended, c.endedPhases) << c.what;
  }
}

TEST(UserLogFlowError, ToolKitPhaseSendsItsErrorStepsAsKitEvents) {
  test::TempDir dir;
  test::UserLogHarness harness;
  SetRun(*harness.log, dir, /*kitFlag=*/true);
  harness.log->AddUserLog("Other", "FlowErrorIsChToolKitErrorCode", "DL019");
  harness.log->AddUserLog("Other", "FlowErrorIsChToolKitErrorCode", "DL024");
  harness.Drain();
  const std::vector<Json::Value> bodies = Bodies(*harness.record);
  ASSERT_EQ(bodies.size(), 3u);  // no ErrorReporting: the action is not "FlowError"
  EXPECT_EQ(StepActions(bodies, "FlowIsChToolKitError"),
            (std::vector<std::string>{"CoreFuncStart", "DL019", "DL024"}));
  EXPECT_EQ(bodies[0]["kit_type"], 1);
  EXPECT_EQ(bodies[1]["kit_type"], 2);
  EXPECT_EQ(bodies[2]["kit_type"], 2);
  EXPECT_EQ(bodies[2]["actions"]["func_step"], 1);
  EXPECT_EQ(harness.record->ga4Queries.size(), 2u);
}

TEST(UserLogFlowError, ConcurrentErrorsOpenThePhaseOnceAndNumberTheirSteps) {
  constexpr int kThreads = 4;
  constexpr int kErrorsPerThread = 25;
  test::TempDir dir;
  test::UserLogHarness harness;
  SetRun(*harness.log, dir);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < kErrorsPerThread; ++i)
        harness.log->AddUserLog("Other", "FlowError", "DL017");
    });
  }
  for (std::thread& thread : threads) thread.join();
  harness.Drain();
  std::vector<int> steps;
  int starts = 0;
  for (const Json::Value& body : Bodies(*harness.record)) {
    const Json::Value& actions = body["actions"];
    if (actions["event_action"] == "CoreFuncStart") {
      EXPECT_TRUE(steps.empty()) << "the phase opens before its first step";
      ++starts;
    } else if (actions["event_action"] == "DL017") {
      steps.push_back(actions["func_step"].asInt());
    }
  }
  EXPECT_EQ(starts, 1);
  ASSERT_EQ(steps.size(), std::size_t{kThreads * kErrorsPerThread});
  for (std::size_t i = 0; i < steps.size(); ++i) EXPECT_EQ(steps[i], static_cast<int>(i));
}

}  // namespace
