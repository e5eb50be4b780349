// A package that cannot be opened is reported to the process-wide event
// log. Its services point at a local server, so nothing reaches the network;
// it starts before the first test, so that its start-up lines do not meet a
// test's log capture (installing one is not safe while another thread logs),
// and its sender is stopped before the process exits.
#include <gtest/gtest.h>

#include <memory>

#include "config/endpoints.h"
#include "fixtures/endpoints_xml.h"
#include "telemetry/SingleUserLog.h"
#include "worker_test_support.h"
#include "worker_user_log.h"

namespace {

std::unique_ptr<test::FaultHttpServer> server;

class UserLogEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    server = std::make_unique<test::FaultHttpServer>();
    server->Handle("POST", "/g/collect",
                   [](const httplib::Request&, httplib::Response& response) {
                     response.status = 204;
                   });
    ASSERT_TRUE(LoadEndpointsXml(test::EndpointsXmlAllAt(server->url("")), nullptr));
    // The sender has written its start-up lines once a first event is sent.
    CSingleUserLog::GetInstance().AddUserLog("Other", "WorkerPoolTests", "start", false);
    ASSERT_TRUE(test::WaitUntil([] { return !server->requests().empty(); }));
  }
  void TearDown() override {
    CSingleUserLog::GetInstance().WaitThreadForExit();
    server.reset();
  }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new UserLogEnvironment);

}  // namespace

test::FaultHttpServer& test::WorkerUserLogServer() { return *server; }
