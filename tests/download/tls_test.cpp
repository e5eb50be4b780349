// Every transfer verifies certificate and host name; a configured trust
// anchor is trusted in addition to the system CA store.
#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <functional>
#include <memory>

#include "config/endpoints.h"
#include "download/CLibcurlTool.h"
#include "fixtures/fault_http_server.h"
#include "fixtures/temp_dir.h"
#include "test_worker.h"

namespace {

template <class T, void (*Free)(T*)>
using Owned = std::unique_ptr<T, std::integral_constant<decltype(Free), Free>>;

std::string ToPem(const std::function<int(BIO*)>& write) {
  Owned<BIO, BIO_free_all> bio(BIO_new(BIO_s_mem()));
  write(bio.get());
  char* data = nullptr;
  const long size = BIO_get_mem_data(bio.get(), &data);
  return std::string(data, static_cast<std::size_t>(size));
}

// A throwaway self-signed certificate for `altName` ("IP:127.0.0.1").
struct Certificate {
  std::string certPem, keyPem;
};

Certificate MakeCertificate(const char* altName) {
  Owned<EVP_PKEY, EVP_PKEY_free> key(EVP_EC_gen("P-256"));
  Owned<X509, X509_free> cert(X509_new());
  X509_set_version(cert.get(), 2);
  ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), 1);
  X509_gmtime_adj(X509_getm_notBefore(cert.get()), -60);
  X509_gmtime_adj(X509_getm_notAfter(cert.get()), 3600);
  X509_NAME* name = X509_get_subject_name(cert.get());
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>("stub test"), -1, -1, 0);
  X509_set_issuer_name(cert.get(), name);
  X509_set_pubkey(cert.get(), key.get());
  X509V3_CTX context;
  X509V3_set_ctx_nodb(&context);
  X509V3_set_ctx(&context, cert.get(), cert.get(), nullptr, nullptr, 0);
  for (const auto& [nid, value] : {std::pair{NID_subject_alt_name, altName},
                                   std::pair{NID_basic_constraints, "critical,CA:TRUE"}}) {
    Owned<X509_EXTENSION, X509_EXTENSION_free> extension(
        X509V3_EXT_conf_nid(nullptr, &context, nid, value));
    X509_add_ext(cert.get(), extension.get(), -1);
  }
  X509_sign(cert.get(), key.get(), EVP_sha256());
  return {ToPem([&](BIO* bio) { return PEM_write_bio_X509(bio, cert.get()); }),
          ToPem([&](BIO* bio) {
            return PEM_write_bio_PrivateKey(bio, key.get(), nullptr, nullptr, 0, nullptr, nullptr);
          })};
}

class TlsTest : public ::testing::Test {
 protected:
  void TearDown() override { ResetEndpoints(); }

  std::unique_ptr<test::FaultHttpServer> Serve(const Certificate& certificate) {
    const std::string cert = dir_.Write("cert.pem", certificate.certPem).string();
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
  void Trust(const Certificate& certificate, const test::FaultHttpServer& server) {
    std::string error;
    ASSERT_TRUE(LoadEndpointsXml("<Endpoints><Endpoint name=\"log_upload\" url=\"" +
                                     server.url("") + "\"/><TrustAnchor>" + certificate.certPem +
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
  auto server = Serve(MakeCertificate("IP:127.0.0.1"));
  std::string error;
  ASSERT_TRUE(LoadEndpointsXml(
      "<Endpoints><Endpoint name=\"log_upload\" url=\"" + server->url("") + "\"/></Endpoints>",
      &error));
  for (const auto& [transfer, through] : RunAll(*server)) EXPECT_FALSE(through) << transfer;
  EXPECT_TRUE(server->requests().empty());
}

TEST_F(TlsTest, AcceptsTheConfiguredTrustAnchor) {
  const Certificate certificate = MakeCertificate("IP:127.0.0.1");
  auto server = Serve(certificate);
  Trust(certificate, *server);
  for (const auto& [transfer, through] : RunAll(*server)) EXPECT_TRUE(through) << transfer;
}

TEST_F(TlsTest, RefusesATrustedCertificateForAnotherHost) {
  const Certificate certificate = MakeCertificate("DNS:elsewhere.example");
  auto server = Serve(certificate);
  Trust(certificate, *server);
  CLibcurlTool tool;
  std::string body;
  EXPECT_EQ(tool.httpGet(server->url("/pkg.zip"), body, false), CURLE_PEER_FAILED_VERIFICATION);
  EXPECT_TRUE(server->requests().empty());
}

TEST_F(TlsTest, UnreadableAnchorLeavesTheSystemStore) {
  auto server = Serve(MakeCertificate("IP:127.0.0.1"));
  std::string error;
  ASSERT_TRUE(LoadEndpointsXml(
      "<Endpoints><TrustAnchor>not a certificate</TrustAnchor></Endpoints>", &error));
  CLibcurlTool tool;
  std::string body;
  EXPECT_EQ(tool.httpGet(server->url("/pkg.zip"), body, false), CURLE_PEER_FAILED_VERIFICATION);
}

}  // namespace
