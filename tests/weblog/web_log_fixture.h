#pragma once
// A WebLog that talks to a FaultHttpServer on 127.0.0.1: every endpoint is
// a path prefix on that server, the registry lives in a temporary folder,
// the working directory is an empty temporary folder ("proxy.txt", "test"),
// ticks come from a FakeSystemFacts and proxies of the environment are off.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fixtures/fault_http_server.h"
#include "fixtures/scoped_env.h"
#include "fixtures/temp_dir.h"
#include "platform/fake_system_facts.h"
#include "fixtures/scoped_current_directory.h"
#include "weblog/web_log.h"

namespace weblog_test {

// A machine's guid in the form the machine record stores, and a
// geolocation answer with every column filled.
constexpr char kGuid[] = "0A1B2C3D-4E5F-4ABC-8DEF-0123456789AB";
constexpr char kGeoAnswer[] =
    "success,Germany,DE,BE,Land Berlin,Berlin,10115,52.5,13.4,Europe/Berlin,ISP,Org,AS1,"
    "203.0.113.7";

// Fast time-outs: a hanging server costs half a second.
HttpClientOptions FastClientOptions(const std::wstring& logFolder);

class WebLogTest : public testing::Test {
 protected:
  WebLogTest();
  ~WebLogTest() override;

  std::unique_ptr<WebLog> MakeWebLog();
  // The requests whose path is `path`, in order.
  std::vector<test::RecordedRequest> RequestsTo(const std::string& path) const;
  // Answers `method` `path` with `status` and `body`.
  void Answer(const std::string& method, const std::string& path, int status,
              const std::string& body = "");
  // The handler never answers within the client's time-out (it gives up
  // when the test ends).
  void Hang(const std::string& method, const std::string& path);
  // The answer's headers go out, then the connection closes mid-body.
  void CloseMidAnswer(const std::string& method, const std::string& path);
  // Writes the machine record as the registry would hold it.
  void WriteRecord(const std::string& guid, const std::string& userId);
  std::optional<std::string> RecordValue(const wchar_t* name) const;

  test::TempDir dir_;
  std::filesystem::path work_;  // the working directory of the WebLog
  std::filesystem::path logs_;  // the library log folder
  platform::FakeSystemFacts facts_;

 private:
  std::vector<std::unique_ptr<test::ScopedEnv>> noProxies_;
  std::unique_ptr<test::ScopedCurrentDirectory> currentDirectory_;
  platform::FakeSystemFacts::Installed installed_{facts_};
  std::atomic<bool> ending_{false};

 protected:
  test::FaultHttpServer server_;  // last: stopped before the state its handlers use
};

}  // namespace weblog_test
