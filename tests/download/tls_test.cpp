// Every transfer verifies certificate and host name; a configured trust
// anchor is trusted in addition to the system CA store.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "config/endpoints.h"
#include "download/CLibcurlTool.h"
#include "fixtures/fault_http_server.h"
#include "fixtures/temp_dir.h"
#include "fixtures/test_certificate.h"
#include "test_worker.h"

namespace {

class TlsTest : public ::testing::Test {
 protected:
  void TearDown() override { ResetEndpoints(); }

  std::unique_ptr<test::FaultHttpServer> Serve(const test::TestCertificate& certificate) {
    const std::string cert = dir_.Write("cert.pem", certificate.certificatePem).string();
    const std::string key = dir_.Write("key.pem", certificate.keyPem).string();
    auto server = std::make_unique<test::FaultHttpServer>(cert, key);
    server->ServeFile("/pkg.zip", content_);
    server->Handle("POST", "/post", [](const httplib::Request&, httplib::Response& response) {
      response.set_content("ok", "text/plain");
    });
    server->Handle("POST", "/v1/productLogUpload",
                   [](const httplib::Request&, httplib::Response& response) {
                     response.set_content("ok", "text/plain");
                   });
    return server;
  }
  void Trust(const test::TestCertificate& certificate, const test::FaultHttpServer& server) {
    std::string error;
    ASSERT_TRUE(LoadEndpointsXml("<Endpoints><Endpoint name=\"log_upload\" url=\"" +
                                     server.url("") + "\"/><TrustAnchor>" + certificate.certificatePem +
                                     "</TrustAnchor></Endpoints>",
                                 &error))
        << error;
  }
  // Each transfer, true when it got through.
  std::vector<std::pair<std::string, bool>> RunAll(const test::FaultHttpServer& server) {
    const std::string url = server.url("/pkg.zip");
    CLibcurlTool tool;
    std::string text;
    long status = 0;
    test::TestWorker worker(test::OpenPackage(dir_.File("package.bin")));
    worker.Assign(1, 0, 9, static_cast<std::int64_t>(content_.size()));
    testing::internal::CaptureStdout();
    const int uploaded = tool.UploadFile(dir_.Write("pack.zip", "z").string(), "", "p", "1", "");
    testing::internal::GetCapturedStdout();
    return {
        {"httpDownloadContent", tool.httpDownloadContent(url, 0, 9, &worker) == CURLE_OK},
        {"GetHeader", tool.GetHeader(url, text, status) == CURLE_OK},
        {"httpGet", tool.httpGet(url, text, false) == CURLE_OK},
        {"HttpPost", tool.HttpPost(server.url("/post"), "x", text) == CURLE_OK},
        {"UploadFile", uploaded == 0},
    };
  }

  test::TempDir dir_;
  const std::string content_ = "0123456789abcdef";
};

TEST_F(TlsTest, RefusesAnUnknownCertificate) {
  auto server = Serve(test::MakeSelfSignedCertificate("IP:127.0.0.1"));
  std::string error;
  ASSERT_TRUE(LoadEndpointsXml(
      "<Endpoints><Endpoint name=\"log_upload\" url=\"" + server->url("") + "\"/></Endpoints>",
      &error));
  for (const auto& [transfer, through] : RunAll(*server)) EXPECT_FALSE(through) << transfer;
  EXPECT_TRUE(server->requests().empty());
}

TEST_F(TlsTest, AcceptsTheConfiguredTrustAnchor) {
  const test::TestCertificate certificate = test::MakeSelfSignedCertificate("IP:127.0.0.1");
  auto server = Serve(certificate);
  Trust(certificate, *server);
  for (const auto& [transfer, through] : RunAll(*server)) EXPECT_TRUE(through) << transfer;
}

TEST_F(TlsTest, RefusesATrustedCertificateForAnotherHost) {
  const test::TestCertificate certificate = test::MakeSelfSignedCertificate("DNS:elsewhere.example");
  auto server = Serve(certificate);
  Trust(certificate, *server);
  CLibcurlTool tool;
  std::string body;
  EXPECT_EQ(tool.httpGet(server->url("/pkg.zip"), body, false), CURLE_PEER_FAILED_VERIFICATION);
  EXPECT_TRUE(server->requests().empty());
}

TEST_F(TlsTest, UnreadableAnchorLeavesTheSystemStore) {
  auto server = Serve(test::MakeSelfSignedCertificate("IP:127.0.0.1"));
  std::string error;
  ASSERT_TRUE(LoadEndpointsXml(
      "<Endpoints><TrustAnchor>not a certificate</TrustAnchor></Endpoints>", &error));
  CLibcurlTool tool;
  std::string body;
  EXPECT_EQ(tool.httpGet(server->url("/pkg.zip"), body, false), CURLE_PEER_FAILED_VERIFICATION);
}

}  // namespace
