#include "system/signature.h"

#include <gtest/gtest.h>
#include <openssl/cms.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509v3.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "config/endpoints.h"
#include "fixtures/log_capture.h"
#include "fixtures/run_command.h"
#include "fixtures/temp_dir.h"
#include "platform/utf8.h"

namespace {

template <typename T, void (*Free)(T*)>
using Owned = std::unique_ptr<T, std::integral_constant<decltype(Free), Free>>;

// Holds borrowed certificates: frees the stack only.
void FreeStack(STACK_OF(X509) * stack) { sk_X509_free(stack); }

constexpr std::string_view kMagic = "~Module signature appended~\n";

void Require(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string("signature test: ") + what);
}

struct Identity {
  Owned<EVP_PKEY, EVP_PKEY_free> key;
  Owned<X509, X509_free> cert;

  std::string CertPem() const {
    Owned<BIO, BIO_free_all> bio(BIO_new(BIO_s_mem()));
    Require(PEM_write_bio_X509(bio.get(), cert.get()) == 1, "certificate PEM");
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    return std::string(data, static_cast<std::size_t>(size));
  }
  std::string KeyPem() const {
    Owned<BIO, BIO_free_all> bio(BIO_new(BIO_s_mem()));
    Require(PEM_write_bio_PrivateKey(bio.get(), key.get(), nullptr, nullptr, 0, nullptr,
                                     nullptr) == 1,
            "key PEM");
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    return std::string(data, static_cast<std::size_t>(size));
  }
};

// A certificate for `commonName`, issued by `issuer` or by itself when null,
// for a new key or for the key of `sameKeyAs` (a cross-signed twin).
Identity MakeIdentity(const char* commonName, const Identity* issuer, bool isCa,
                      const Identity* sameKeyAs = nullptr) {
  if (sameKeyAs) Require(EVP_PKEY_up_ref(sameKeyAs->key.get()) == 1, "key reference");
  Identity made{Owned<EVP_PKEY, EVP_PKEY_free>(sameKeyAs ? sameKeyAs->key.get() : EVP_EC_gen("P-256")),
                Owned<X509, X509_free>(X509_new())};
  Require(made.key && made.cert, "allocation");
  X509* cert = made.cert.get();
  unsigned char serial[8];
  Require(RAND_bytes(serial, sizeof serial) == 1, "serial");
  serial[0] &= 0x7F;
  Owned<BIGNUM, BN_free> number(BN_bin2bn(serial, sizeof serial, nullptr));
  Require(number && BN_to_ASN1_INTEGER(number.get(), X509_get_serialNumber(cert)), "serial");
  X509_set_version(cert, 2);
  X509_gmtime_adj(X509_getm_notBefore(cert), -3600);
  X509_gmtime_adj(X509_getm_notAfter(cert), 86400);
  X509_set_pubkey(cert, made.key.get());
  X509_NAME_add_entry_by_txt(X509_get_subject_name(cert), "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>(commonName), -1, -1, 0);
  X509* issuerCert = issuer ? issuer->cert.get() : cert;
  X509_set_issuer_name(cert, X509_get_subject_name(issuerCert));
  X509V3_CTX context;
  X509V3_set_ctx_nodb(&context);
  X509V3_set_ctx(&context, issuerCert, cert, nullptr, nullptr, 0);
  const std::pair<int, const char*> extensions[] = {
      {NID_basic_constraints, isCa ? "critical,CA:TRUE" : "critical,CA:FALSE"},
      {NID_key_usage, isCa ? "critical,keyCertSign" : "critical,digitalSignature"},
      {NID_subject_key_identifier, "hash"}};
  for (const auto& [nid, value] : extensions) {
    Owned<X509_EXTENSION, X509_EXTENSION_free> extension(
        X509V3_EXT_conf_nid(nullptr, &context, nid, value));
    Require(extension && X509_add_ext(cert, extension.get(), -1) == 1, "extension");
  }
  Require(X509_sign(cert, issuer ? issuer->key.get() : made.key.get(), EVP_sha256()) > 0, "sign");
  return made;
}

// The DER of a detached CMS signature over `content`, carrying `chain` too.
std::string SignDer(const std::string& content, const Identity& signer,
                    const std::vector<const Identity*>& chain = {}) {
  Owned<STACK_OF(X509), FreeStack> extra(sk_X509_new_null());
  for (const Identity* identity : chain) sk_X509_push(extra.get(), identity->cert.get());
  Owned<BIO, BIO_free_all> in(BIO_new_mem_buf(content.data(), static_cast<int>(content.size())));
  Owned<CMS_ContentInfo, CMS_ContentInfo_free> cms(CMS_sign(
      signer.cert.get(), signer.key.get(), extra.get(), in.get(), CMS_DETACHED | CMS_BINARY));
  Require(cms != nullptr, "CMS_sign");
  unsigned char* der = nullptr;
  const int length = i2d_CMS_ContentInfo(cms.get(), &der);
  Require(length > 0, "DER");
  std::string bytes(reinterpret_cast<const char*>(der), static_cast<std::size_t>(length));
  OPENSSL_free(der);
  return bytes;
}

// Written out byte by byte here rather than through the library, so that a
// wrong layout on both sides cannot pass.
std::string Trailer(std::uint32_t length) {
  std::string record(12, '\0');
  record[2] = 2;
  record[8] = static_cast<char>(length >> 24);
  record[9] = static_cast<char>(length >> 16);
  record[10] = static_cast<char>(length >> 8);
  record[11] = static_cast<char>(length);
  return record + std::string(kMagic);
}

std::string Signed(const std::string& content, const std::string& der) {
  return content + der + Trailer(static_cast<std::uint32_t>(der.size()));
}

const std::string kContent = "#!/bin/sh\necho package payload\n" + std::string(70000, 'x');

struct Certificates {
  Identity ca = MakeIdentity("signature test CA", nullptr, true);
  Identity intermediate = MakeIdentity("signature test intermediate", &ca, true);
  Identity signer = MakeIdentity("signature test signer", &ca, false);
  Identity leaf = MakeIdentity("signature test leaf", &intermediate, false);
  Identity stranger = MakeIdentity("signature test stranger", nullptr, false);
  // Two CAs that cross-sign each other, neither trusted: loopA is issued by
  // loopB and loopB by loopA (through loopRootA, loopA's self-signed twin).
  Identity loopRootA = MakeIdentity("signature test loop A", nullptr, true);
  Identity loopB = MakeIdentity("signature test loop B", &loopRootA, true);
  Identity loopA = MakeIdentity("signature test loop A", &loopB, true, &loopRootA);
  Identity loopSigner = MakeIdentity("signature test loop signer", &loopA, false);
};

const Certificates& Certs() {
  static const Certificates certificates;
  return certificates;
}

std::string Format(const std::string& pattern, const std::string& path) {
  const std::size_t at = pattern.find("%s");
  return at == std::string::npos ? pattern : pattern.substr(0, at) + path + pattern.substr(at + 2);
}

constexpr const char* kVerified = "The file \"%s\" is signed and the signature was verified.";
constexpr const char* kNotSigned = "The file \"%s\" is not signed.";
constexpr const char* kNotTrusted = "The signature is present, but not trusted.";
constexpr const char* kUnknown =
    "An unknown error occurred trying to verify the signature of the \"%s\" file.";

enum class Anchor { kEndpoints, kCaller, kNone };

struct Case {
  const char* name;
  // Makes the file to check inside the folder and returns its path.
  std::function<std::filesystem::path(const test::TempDir&)> make;
  Anchor anchor;
  std::uint32_t result;
  const char* message;
};

std::filesystem::path WriteFile(const test::TempDir& dir, const std::string& bytes) {
  return dir.Write("package.run", bytes);
}

const Case kCases[] = {
    {"valid with the endpoints' anchor",
     [](const test::TempDir& d) { return WriteFile(d, Signed(kContent, SignDer(kContent, Certs().signer))); },
     Anchor::kEndpoints, kSignatureVerified, kVerified},
    {"valid through a carried intermediate, caller's anchor",
     [](const test::TempDir& d) {
       return WriteFile(d, Signed(kContent, SignDer(kContent, Certs().leaf, {&Certs().intermediate})));
     },
     Anchor::kCaller, kSignatureVerified, kVerified},
    {"intermediate not carried",
     [](const test::TempDir& d) { return WriteFile(d, Signed(kContent, SignDer(kContent, Certs().leaf))); },
     Anchor::kCaller, kTrustSubjectNotTrusted, kNotTrusted},
    {"valid signature without any extra anchor",
     [](const test::TempDir& d) { return WriteFile(d, Signed(kContent, SignDer(kContent, Certs().signer))); },
     Anchor::kNone, kTrustSubjectNotTrusted, kNotTrusted},
    {"signed by an untrusted key",
     [](const test::TempDir& d) { return WriteFile(d, Signed(kContent, SignDer(kContent, Certs().stranger))); },
     Anchor::kEndpoints, kTrustSubjectNotTrusted, kNotTrusted},
    {"chain loop of two cross-signed CAs",
     [](const test::TempDir& d) {
       return WriteFile(d, Signed(kContent, SignDer(kContent, Certs().loopSigner,
                                                    {&Certs().loopA, &Certs().loopB})));
     },
     Anchor::kEndpoints, kTrustSubjectNotTrusted, kNotTrusted},
    {"unsigned", [](const test::TempDir& d) { return WriteFile(d, kContent); }, Anchor::kEndpoints,
     kTrustNoSignature, kNotSigned},
    {"tampered byte before the signature",
     [](const test::TempDir& d) {
       std::string bytes = Signed(kContent, SignDer(kContent, Certs().signer));
       bytes[kContent.size() - 1] ^= 1;
       return WriteFile(d, bytes);
     },
     Anchor::kEndpoints, kTrustBadDigest, "Error is: 0x80096010."},
    {"tampered first byte",
     [](const test::TempDir& d) {
       std::string bytes = Signed(kContent, SignDer(kContent, Certs().signer));
       bytes[0] ^= 1;
       return WriteFile(d, bytes);
     },
     Anchor::kEndpoints, kTrustBadDigest, "Error is: 0x80096010."},
    {"truncated trailer",
     [](const test::TempDir& d) {
       const std::string bytes = Signed(kContent, SignDer(kContent, Certs().signer));
       return WriteFile(d, bytes.substr(0, bytes.size() - 1));
     },
     Anchor::kEndpoints, kTrustNoSignature, kNotSigned},
    {"length pointing outside the file",
     [](const test::TempDir& d) {
       const std::string der = SignDer(kContent, Certs().signer);
       return WriteFile(d, "ab" + der + Trailer(static_cast<std::uint32_t>(der.size() + 3)));
     },
     Anchor::kEndpoints, kTrustNoSignature, kUnknown},
    {"length far outside a file of only the trailer",
     [](const test::TempDir& d) { return WriteFile(d, Trailer(0xFFFFFFFF)); }, Anchor::kEndpoints,
     kTrustNoSignature, kUnknown},
    {"zero length", [](const test::TempDir& d) { return WriteFile(d, kContent + Trailer(0)); },
     Anchor::kEndpoints, kTrustNoSignature, kUnknown},
    {"DER garbage",
     [](const test::TempDir& d) {
       const std::string garbage = "\x30\x82\x01\x00not a CMS structure at all";
       return WriteFile(d, kContent + garbage + Trailer(static_cast<std::uint32_t>(garbage.size())));
     },
     Anchor::kEndpoints, kTrustNoSignature, kUnknown},
    {"empty file", [](const test::TempDir& d) { return WriteFile(d, ""); }, Anchor::kEndpoints,
     kTrustNoSignature, kNotSigned},
    {"only the magic",
     [](const test::TempDir& d) { return WriteFile(d, std::string(kMagic)); }, Anchor::kEndpoints,
     kTrustNoSignature, kNotSigned},
    {"directory", [](const test::TempDir& d) { return d.path(); }, Anchor::kEndpoints,
     kTrustNoSignature, kNotSigned},
    {"missing path", [](const test::TempDir& d) { return d.path() / "missing.run"; },
     Anchor::kEndpoints, kTrustNoSignature, kNotSigned},
};

class SignatureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(LoadEndpointsXml(
        "<Endpoints><TrustAnchor>" + Certs().ca.CertPem() + "</TrustAnchor></Endpoints>", &error))
        << error;
  }
  void TearDown() override { ResetEndpoints(); }
};

TEST_F(SignatureTest, TableOfFiles) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    const std::filesystem::path file = c.make(dir);
    if (c.anchor != Anchor::kEndpoints) ResetEndpoints();
    const std::string anchor = c.anchor == Anchor::kCaller ? Certs().ca.CertPem() : std::string();
    test::LogCapture log;
    const bool verified =
        FuntionImpl::VerifyEmbeddedSignature(platform::FromUtf8(file.string()), anchor);
    const std::string message = Format(c.message, file.string());
    EXPECT_EQ(verified, c.result == kSignatureVerified);
    const std::string expected = " VerifyEmbeddedSignature result is " +
                                 std::to_string(static_cast<std::int32_t>(c.result)) + ", " +
                                 message;
    EXPECT_EQ(log.lines(), std::vector<std::string>{expected});
    SetUp();
  }
}

TEST_F(SignatureTest, LogsTheResultAsASignedDecimal) {
  test::TempDir dir;
  test::LogCapture log;
  EXPECT_FALSE(FuntionImpl::VerifyEmbeddedSignature(dir.WFile("none")));
  ASSERT_EQ(log.lines().size(), 1u);
  EXPECT_EQ(log.lines()[0].rfind(" VerifyEmbeddedSignature result is -2146762496, ", 0), 0u);
}

TEST_F(SignatureTest, MessageIsCutAt256Characters) {
  test::TempDir dir;
  const std::filesystem::path file = dir.Write(std::string(200, 'a') + "/" + std::string(200, 'b'), kContent);
  const SignatureCheck check = CheckEmbeddedSignature(platform::FromUtf8(file.string()), {});
  EXPECT_EQ(check.result, kTrustNoSignature);
  EXPECT_EQ(check.message, Format(kNotSigned, file.string()).substr(0, 256));
}

struct StubctlFiles {
  test::TempDir dir;
  std::string key = dir.Write("signer.key", Certs().signer.KeyPem()).string();
  std::string cert = dir.Write("signer.pem", Certs().signer.CertPem()).string();
  std::string anchor = dir.Write("ca.pem", Certs().ca.CertPem()).string();
};

TEST_F(SignatureTest, StubctlSignTwiceKeepsOneSignature) {
  StubctlFiles files;
  const std::filesystem::path package = files.dir.Write("package.run", kContent);
  for (int round = 0; round < 2; ++round) {
    const test::CommandResult signedRun = test::RunCommand(
        {STUBCTL_PROGRAM, "sign", "--key", files.key, "--cert", files.cert, package.string()});
    ASSERT_EQ(signedRun.exitCode, 0) << signedRun.err;
  }
  const std::string bytes = test::ReadFile(package);
  ASSERT_GT(bytes.size(), kContent.size() + 40);
  EXPECT_EQ(bytes.substr(0, kContent.size()), kContent);
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const std::size_t record = bytes.size() - 40;
  const std::size_t length = (std::size_t{byte(record + 8)} << 24) |
                             (std::size_t{byte(record + 9)} << 16) |
                             (std::size_t{byte(record + 10)} << 8) | byte(record + 11);
  EXPECT_EQ(bytes.size(), kContent.size() + length + 40);
  EXPECT_EQ(bytes.substr(bytes.size() - kMagic.size()), kMagic);
  EXPECT_TRUE(CheckEmbeddedSignature(platform::FromUtf8(package.string()), {}).verified);
  // No second magic: the first signature was replaced, not wrapped.
  EXPECT_EQ(bytes.find(kMagic), bytes.size() - kMagic.size());

  ResetEndpoints();
  const test::CommandResult trusted =
      test::RunCommand({STUBCTL_PROGRAM, "verify", "--anchor", files.anchor, package.string()});
  EXPECT_EQ(trusted.exitCode, 0) << trusted.err;
  EXPECT_EQ(trusted.out, "0x00000000 " + Format(kVerified, package.string()) + "\n");
  const test::CommandResult untrusted = test::RunCommand({STUBCTL_PROGRAM, "verify", package.string()});
  EXPECT_EQ(untrusted.exitCode, 1);
  EXPECT_EQ(untrusted.out, "0x800b0004 " + std::string(kNotTrusted) + "\n");
}

TEST_F(SignatureTest, StubctlSignCarriesTheChain) {
  test::TempDir dir;
  const std::string key = dir.Write("leaf.key", Certs().leaf.KeyPem()).string();
  const std::string cert = dir.Write("leaf.pem", Certs().leaf.CertPem()).string();
  const std::string chain = dir.Write("chain.pem", Certs().intermediate.CertPem()).string();
  const std::filesystem::path package = dir.Write("package.run", kContent);
  const test::CommandResult run = test::RunCommand(
      {STUBCTL_PROGRAM, "sign", "--key", key, "--cert", cert, "--chain", chain, package.string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(CheckEmbeddedSignature(platform::FromUtf8(package.string()), {}).verified);
}

TEST_F(SignatureTest, StubctlSignRefusesBadInputAndLeavesTheFile) {
  StubctlFiles files;
  const std::filesystem::path package = files.dir.Write("package.run", kContent);
  const std::string otherKey = files.dir.Write("other.key", Certs().stranger.KeyPem()).string();
  const std::vector<std::vector<std::string>> runs = {
      {STUBCTL_PROGRAM, "sign", "--key", otherKey, "--cert", files.cert, package.string()},
      {STUBCTL_PROGRAM, "sign", "--key", files.cert, "--cert", files.cert, package.string()},
      {STUBCTL_PROGRAM, "sign", "--key", files.key, "--cert", files.cert,
       (files.dir.path() / "missing.run").string()},
      {STUBCTL_PROGRAM, "sign", "--key", files.key, package.string()},
  };
  for (const auto& argv : runs) {
    const test::CommandResult run = test::RunCommand(argv);
    EXPECT_EQ(run.exitCode, 1) << argv[3];
    EXPECT_NE(run.err.find("stubctl sign: error: "), std::string::npos) << run.err;
  }
  EXPECT_EQ(test::ReadFile(package), kContent);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(files.dir.path()),
                          std::filesystem::directory_iterator()),
            5);
}

TEST_F(SignatureTest, StubctlVerifyReportsTamperingAndFails) {
  StubctlFiles files;
  std::string bytes = Signed(kContent, SignDer(kContent, Certs().signer));
  bytes[10] ^= 1;
  const std::filesystem::path package = files.dir.Write("package.run", bytes);
  const test::CommandResult run = test::RunCommand({STUBCTL_PROGRAM, "verify", package.string()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "0x80096010 Error is: 0x80096010.\n");
}

}  // namespace
