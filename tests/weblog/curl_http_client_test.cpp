#include "weblog/curl_http_client.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <regex>
#include <thread>

#include "config/endpoints.h"
#include "platform/utf8.h"
#include "fixtures/test_certificate.h"
#include "web_log_fixture.h"

namespace {

using weblog_test::FastClientOptions;

class CurlHttpClientTest : public weblog_test::WebLogTest {
 protected:
  HttpClientOptions Options() const {
    return FastClientOptions(platform::FromUtf8(logs_.string()));
  }
  std::string LibraryLogText() const { return test::ReadFile(logs_ / ".log"); }

  // A port nobody listens on: the server's, once it is gone.
  static std::string ClosedUrl() {
    std::string url;
    {
      test::FaultHttpServer gone;
      url = gone.url("/nobody");
    }
    return url;
  }
};

TEST_F(CurlHttpClientTest, GetAndPostSendWhatTheyAreGiven) {
  Answer("GET", "/get", 200, "got it");
  Answer("POST", "/post", 201, "made");
  CurlHttpClient client(Options());
  CurlHttpClient::Response response;
  ASSERT_EQ(client.Get(server_.url("/get?a=1"), {"Accept: */*", "X-One: 1"}, &response), CURLE_OK);
  EXPECT_EQ(response.status, 200);
  EXPECT_EQ(response.text, "got it");
  ASSERT_EQ(client.Post(server_.url("/post"), "Content-Type:application/json; charset=utf-8",
                        "{\"k\": 1}", &response),
            CURLE_OK);
  EXPECT_EQ(response.status, 201);
  EXPECT_EQ(client.LastResponse().text, "made");

  const auto requests = server_.requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[0].query, "a=1");
  EXPECT_EQ(requests[0].headers.at("x-one"), "1");
  EXPECT_EQ(requests[1].method, "POST");
  EXPECT_EQ(requests[1].body, "{\"k\": 1}");
  EXPECT_EQ(requests[1].headers.at("content-type"), "application/json; charset=utf-8");
  EXPECT_EQ(LibraryLogText(), "");
}

TEST_F(CurlHttpClientTest, FollowsRedirects) {
  server_.Redirect("/old", server_.url("/new"));
  Answer("GET", "/new", 200, "moved here");
  CurlHttpClient client(Options());
  CurlHttpClient::Response response;
  ASSERT_EQ(client.Get(server_.url("/old"), {}, &response), CURLE_OK);
  EXPECT_EQ(response.text, "moved here");
}

TEST_F(CurlHttpClientTest, FailuresGoToTheLibraryLog) {
  CurlHttpClient client(Options());
  CurlHttpClient::Response response{7, "untouched"};
  EXPECT_EQ(client.Get(ClosedUrl(), {}, &response), CURLE_COULDNT_CONNECT);
  EXPECT_EQ(response.text, "untouched");
  EXPECT_EQ(client.Post("http://bad host/", "X: 1", "", &response), CURLE_URL_MALFORMAT);
  const std::string log = LibraryLogText();
  EXPECT_TRUE(
      std::regex_match(log, std::regex(R"(\[\d{4}/\d{1,2}/\d{1,2}-\d{1,2}:\d{1,2}:\d{1,2}\] )"
                                       R"(Failed to perform request \[7\]\n)"
                                       R"(\[[-0-9/:]+\] Failed to perform request \[3\]\n)")))
      << log;
}

TEST_F(CurlHttpClientTest, NoLogFolderNoLogFile) {
  std::filesystem::remove_all(logs_);
  CurlHttpClient client(Options());
  EXPECT_EQ(client.Get(ClosedUrl(), {}, nullptr), CURLE_COULDNT_CONNECT);
  EXPECT_FALSE(std::filesystem::exists(logs_));
}

TEST_F(CurlHttpClientTest, TimeOutsAndOversizedAnswers) {
  Hang("GET", "/hang");
  server_.Handle("GET", "/huge", [](const httplib::Request&, httplib::Response& response) {
    response.set_content(std::string((std::size_t{4} << 20) + 1, 'x'), "text/plain");
  });
  CurlHttpClient client(Options());
  EXPECT_EQ(client.Get(server_.url("/hang"), {}, nullptr), CURLE_OPERATION_TIMEDOUT);
  EXPECT_EQ(client.Get(server_.url("/huge"), {}, nullptr), CURLE_WRITE_ERROR);
}

TEST_F(CurlHttpClientTest, CancelStopsRunningAndLaterTransfers) {
  Hang("GET", "/hang");
  std::atomic<bool> cancel{false};
  HttpClientOptions options = Options();
  options.totalTimeout = std::chrono::milliseconds(20000);
  options.cancel = &cancel;
  CurlHttpClient client(options);
  std::thread canceller([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    cancel = true;
  });
  EXPECT_EQ(client.Get(server_.url("/hang"), {}, nullptr), CURLE_ABORTED_BY_CALLBACK);
  canceller.join();
  server_.ClearRequests();
  EXPECT_EQ(client.Get(server_.url("/hang"), {}, nullptr), CURLE_ABORTED_BY_CALLBACK);
  EXPECT_TRUE(server_.requests().empty());
}

// HTTPS is verified: a certificate nobody vouches for, or one for another
// host, fails the transfer; the endpoints' trust anchor adds to the system's.
class CurlHttpsTest : public CurlHttpClientTest {
 protected:
  std::unique_ptr<test::FaultHttpServer> TlsServer(
      const test::TestCertificate& certificate) {
    test::WriteFile(dir_.path() / "cert.pem", certificate.certificatePem);
    test::WriteFile(dir_.path() / "key.pem", certificate.keyPem);
    auto server =
        std::make_unique<test::FaultHttpServer>(dir_.File("cert.pem"), dir_.File("key.pem"));
    server->Handle("GET", "/hello", [](const httplib::Request&, httplib::Response& response) {
      response.set_content("hello over TLS", "text/plain");
    });
    return server;
  }
  static void Trust(const std::string& pem) {
    std::string error;
    ASSERT_TRUE(
        LoadEndpointsXml("<Endpoints><TrustAnchor>" + pem + "</TrustAnchor></Endpoints>", &error))
        << error;
  }
};

TEST_F(CurlHttpsTest, AnUnknownCertificateIsRefused) {
  const auto server = TlsServer(test::MakeSelfSignedCertificate("IP:127.0.0.1"));
  CurlHttpClient client(Options());
  EXPECT_EQ(client.Get(server->url("/hello"), {}, nullptr), CURLE_PEER_FAILED_VERIFICATION);
  EXPECT_NE(LibraryLogText().find("Failed to perform request [60]\n"), std::string::npos);
}

TEST_F(CurlHttpsTest, TheTrustAnchorIsTrusted) {
  const auto certificate = test::MakeSelfSignedCertificate("IP:127.0.0.1");
  const auto server = TlsServer(certificate);
  const auto other = test::MakeSelfSignedCertificate("DNS:unrelated.example");
  Trust(other.certificatePem + certificate.certificatePem);
  CurlHttpClient client(Options());
  CurlHttpClient::Response response;
  ASSERT_EQ(client.Get(server->url("/hello"), {}, &response), CURLE_OK);
  EXPECT_EQ(response.text, "hello over TLS");
}

TEST_F(CurlHttpsTest, ATrustedCertificateForAnotherHostIsRefused) {
  const auto certificate = test::MakeSelfSignedCertificate("DNS:other.example");
  const auto server = TlsServer(certificate);
  Trust(certificate.certificatePem);
  CurlHttpClient client(Options());
  EXPECT_EQ(client.Get(server->url("/hello"), {}, nullptr), CURLE_PEER_FAILED_VERIFICATION);
}

// An anchor that holds no certificate adds no trust: the system store alone
// still refuses the unknown server.
TEST_F(CurlHttpsTest, AnAnchorWithoutCertificateTrustsNothingMore) {
  const auto server = TlsServer(test::MakeSelfSignedCertificate("IP:127.0.0.1"));
  Trust("-----BEGIN CERTIFICATE-----\nnot base64 at all\n-----END CERTIFICATE-----");
  CurlHttpClient client(Options());
  EXPECT_EQ(client.Get(server->url("/hello"), {}, nullptr), CURLE_PEER_FAILED_VERIFICATION);
}

}  // namespace
