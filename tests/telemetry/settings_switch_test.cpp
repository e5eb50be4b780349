// The settings file beside the executable switches telemetry off (AutoRun)
// and the error reports to the test environment (TestEnv). These cases
// share that one file, so CTest runs them one at a time.
#include <gtest/gtest.h>

#include <filesystem>

#include "config/endpoints.h"
#include "fixtures/fault_http_server.h"
#include "fixtures/temp_dir.h"
#include "json_text.h"
#include "system/settings_file.h"
#include "system/text_conversion.h"
#include "telemetry/error_report.h"
#include "user_log_harness.h"

namespace {

// Writes the settings file for one scope and removes it afterwards.
class ScopedSettingsFile {
 public:
  explicit ScopedSettingsFile(const std::string& content)
      : file_(WideToUtf8(FuntionImpl::SettingsFilePath())) {
    test::WriteFile(file_, content);
  }
  ~ScopedSettingsFile() { std::filesystem::remove(file_); }
  ScopedSettingsFile(const ScopedSettingsFile&) = delete;
  ScopedSettingsFile& operator=(const ScopedSettingsFile&) = delete;

 private:
  std::filesystem::path file_;
};

std::size_t ThreadCount() {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry :
       std::filesystem::directory_iterator("/proc/self/task")) {
    ++count;
  }
  return count;
}

CSingleUserLog::Collaborators ReadingTheSettingsFile(
    const std::shared_ptr<test::FakeWebLog::Record>& record) {
  CSingleUserLog::Collaborators collaborators;
  collaborators.webLog = std::make_unique<test::FakeWebLog>(record);
  collaborators.identity = test::TestIdentity();
  return collaborators;  // autoRun: FuntionImpl::AutoRun
}

TEST(SettingsFileSwitches, AutoRunTurnsEverySendIntoMinus99AndStartsNoSender) {
  ASSERT_FALSE(std::filesystem::exists(WideToUtf8(FuntionImpl::SettingsFilePath())));
  const auto record = std::make_shared<test::FakeWebLog::Record>();
  test::TempDir dir;
  const auto marker = dir.path() / "galog.json";
  test::WriteFile(marker, "{\"year\": 2001, \"month\": 1, \"day\": 1, \"keep\": true}");
  {
    ScopedSettingsFile settings("[Settings]\nAutoRun=1\n");
    const std::size_t threadsBefore = ThreadCount();
    CSingleUserLog log(ReadingTheSettingsFile(record));
    EXPECT_EQ(ThreadCount(), threadsBefore);

    log.SetUserLogInfo(11, "Brisko Studio", "https://www.brisko.example/Brisko_Setup.exe", false,
                       dir.wpath(), 42);
    const Json::Value dated = test::ParseJson(test::ReadFile(marker));
    EXPECT_NE(dated["year"], 2001);
    EXPECT_EQ(dated["keep"], true);

    for (const bool bWait : {false, true}) {
      EXPECT_EQ(log.AddUserLog("Download", "1.Launch", "", bWait), CSingleUserLog::kTelemetryOff);
      EXPECT_EQ(log.AddUserLog("Other", "FlowError", "DL008", bWait),
                CSingleUserLog::kTelemetryOff);
      EXPECT_EQ(log.AddUserLog("CrashRate", "Close", "user", bWait), CSingleUserLog::kTelemetryOff);
      EXPECT_EQ(
          log.AddUserLog_funnel("Keypoint", "null", 0, "CorePublicModule", "Start", "null", bWait),
          CSingleUserLog::kTelemetryOff);
      EXPECT_EQ(log.AddUserLog_funnelEx("Download", "DownloadEnvReady", "", "", bWait),
                CSingleUserLog::kTelemetryOff);
      EXPECT_EQ(log.AddUserLog_funnelEx("Download", "DownloadConfigReady",
                                        {{"default_config", "1"}}, bWait),
                CSingleUserLog::kTelemetryOff);
    }
    EXPECT_TRUE(log.WaitThreadForExit());
    EXPECT_FALSE(test::ParseJson(test::ReadFile(marker)).isMember("version"));
  }
  EXPECT_EQ(record->userInfoCalls, 0);
  EXPECT_TRUE(record->ga4Queries.empty());
  EXPECT_TRUE(record->funnelBodies.empty());

  // Only the value 1 switches telemetry off.
  ScopedSettingsFile settings("[Settings]\nAutoRun=2\n");
  CSingleUserLog log(ReadingTheSettingsFile(record));
  EXPECT_EQ(log.AddUserLog("Download", "1.Launch", ""), 0);
  log.WaitThreadForExit();
  EXPECT_EQ(record->userInfoCalls, 1);
  EXPECT_EQ(record->ga4Queries.size(), 1u);
}

TEST(SettingsFileSwitches, TestEnvSendsErrorReportsToTheUpdateServer) {
  ASSERT_FALSE(std::filesystem::exists(WideToUtf8(FuntionImpl::SettingsFilePath())));
  test::FaultHttpServer updateServer;
  test::FaultHttpServer productAlert;
  for (test::FaultHttpServer* server : {&updateServer, &productAlert}) {
    server->Handle("POST", "/api/exception/send",
                   [](const httplib::Request&, httplib::Response& response) {
                     response.set_content("ok", "text/plain");
                   });
  }
  ASSERT_TRUE(LoadEndpointsXml(
      "<Endpoints><Endpoint name=\"update_server\" url=\"" + updateServer.url("") +
          "\"/><Endpoint name=\"product_alert\" url=\"" + productAlert.url("") + "\"/></Endpoints>",
      nullptr));
  struct Case {
    const char* settings;  // nullptr: no file
    test::FaultHttpServer* target;
  };
  const Case cases[] = {
      {nullptr, &productAlert},
      {"[Settings]\nTestEnv=1\n", &updateServer},
      {"[Settings]\nTestEnv=0\n", &productAlert},
  };
  for (const Case& c : cases) {
    updateServer.ClearRequests();
    productAlert.ClearRequests();
    std::optional<ScopedSettingsFile> settings;
    if (c.settings) settings.emplace(c.settings);
    EXPECT_EQ(telemetry::PostErrorReport("pid=277&type=2&exception_code=X&other=,u", 2), 0);
    for (test::FaultHttpServer* server : {&updateServer, &productAlert}) {
      const std::vector<test::RecordedRequest> requests = server->requests();
      ASSERT_EQ(requests.size(), server == c.target ? 1u : 0u) << (c.settings ? c.settings : "");
      if (server == c.target) {
        EXPECT_EQ(requests[0].path, "/api/exception/send");
        EXPECT_EQ(requests[0].body, "pid=277&type=2&exception_code=X&other=,u");
      }
    }
  }
  ResetEndpoints();
}

}  // namespace
