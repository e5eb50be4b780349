#include "web_log_fixture.h"

#include <chrono>
#include <thread>

#include "config/endpoints.h"
#include "platform/registry_store.h"
#include "platform/utf8.h"

namespace weblog_test {

HttpClientOptions FastClientOptions(const std::wstring& logFolder) {
  HttpClientOptions options;
  options.connectTimeout = std::chrono::milliseconds(500);
  options.totalTimeout = std::chrono::milliseconds(500);
  options.logFolder = logFolder;
  return options;
}

WebLogTest::WebLogTest() : work_(dir_.path() / "work"), logs_(dir_.path() / "Logs") {
  for (const char* name : {"http_proxy", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY",
                           "no_proxy", "NO_PROXY"}) {
    noProxies_.push_back(std::make_unique<test::ScopedEnv>(name, std::nullopt));
  }
  std::filesystem::create_directories(work_);
  std::filesystem::create_directories(logs_);
  currentDirectory_ = std::make_unique<test::ScopedCurrentDirectory>(work_);
  platform::RegistryStore::SetRootForTesting(dir_.WFile("registry"));
  const std::pair<const char*, const char*> endpoints[] = {
      {"log_service", "/log"},
      {"base_url_file_site", "/site"},
      {"analytics_collector", "/analytics"},
      {"analytics_test_collector", "/analytics-test"},
      {"ga4_collection", "/ga"},
      {"support_service", "/support"},
      {"geolocation", "/geo"}};
  std::string xml = "<Endpoints>";
  for (const auto& [name, prefix] : endpoints) {
    xml += "<Endpoint name=\"" + std::string(name) + "\" url=\"" + server_.url(prefix) + "\"/>";
  }
  xml += "</Endpoints>";
  std::string error;
  EXPECT_TRUE(LoadEndpointsXml(xml, &error)) << error;
}

WebLogTest::~WebLogTest() {
  ending_ = true;
  ResetEndpoints();
  platform::RegistryStore::SetRootForTesting(L"");
}

std::unique_ptr<WebLog> WebLogTest::MakeWebLog() {
  const std::wstring logFolder = platform::FromUtf8(logs_.string());
  return std::make_unique<WebLog>(
      WebLog::Settings{FastClientOptions(logFolder), FastClientOptions(logFolder)});
}

std::vector<test::RecordedRequest> WebLogTest::RequestsTo(const std::string& path) const {
  std::vector<test::RecordedRequest> matching;
  for (test::RecordedRequest& request : server_.requests()) {
    if (request.path == path) matching.push_back(std::move(request));
  }
  return matching;
}

void WebLogTest::Answer(const std::string& method, const std::string& path, int status,
                        const std::string& body) {
  server_.Handle(method, path,
                 [status, body](const httplib::Request&, httplib::Response& response) {
                   response.status = status;
                   response.set_content(body, "text/plain");
                 });
}

void WebLogTest::Hang(const std::string& method, const std::string& path) {
  server_.Handle(method, path, [this](const httplib::Request&, httplib::Response& response) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!ending_ && std::chrono::steady_clock::now() < limit) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    response.status = 204;
  });
}

void WebLogTest::CloseMidAnswer(const std::string& method, const std::string& path) {
  server_.Handle(method, path, [](const httplib::Request&, httplib::Response& response) {
    response.status = 200;
    response.set_content_provider(
        100, "text/plain", [](std::size_t, std::size_t, httplib::DataSink&) { return false; });
  });
}

void WebLogTest::WriteRecord(const std::string& guid, const std::string& userId) {
  using platform::FromUtf8;
  const auto hive = platform::RegistryHive::LocalMachine;
  ASSERT_TRUE(platform::RegistryStore::WriteString(hive, L"SOFTWARE\\GuidGuidold", L"guid",
                                                   FromUtf8(guid)));
  ASSERT_TRUE(platform::RegistryStore::WriteString(hive, L"SOFTWARE\\GuidGuidold", L"user_id",
                                                   FromUtf8(userId)));
}

std::optional<std::string> WebLogTest::RecordValue(const wchar_t* name) const {
  const auto value = platform::RegistryStore::ReadString(platform::RegistryHive::LocalMachine,
                                                         L"SOFTWARE\\GuidGuidold", name);
  if (!value) return std::nullopt;
  return platform::ToUtf8(*value);
}

}  // namespace weblog_test
