#include "test_certificate.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509v3.h>

#include <functional>
#include <memory>
#include <stdexcept>

namespace weblog_test {
namespace {

template <typename T, void (*Free)(T*)>
using Owned = std::unique_ptr<T, std::integral_constant<decltype(Free), Free>>;

void Require(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string("test certificate: ") + what);
}

std::string Pem(const std::function<int(BIO*)>& write) {
  Owned<BIO, BIO_free_all> bio(BIO_new(BIO_s_mem()));
  Require(bio && write(bio.get()) == 1, "PEM output");
  char* data = nullptr;
  const long size = BIO_get_mem_data(bio.get(), &data);
  return std::string(data, static_cast<std::size_t>(size));
}

}  // namespace

TestCertificate MakeSelfSignedCertificate(const std::string& subjectAltName) {
  Owned<EVP_PKEY, EVP_PKEY_free> key(EVP_EC_gen("P-256"));
  Owned<X509, X509_free> certificate(X509_new());
  Require(key && certificate, "allocation");
  unsigned char serial[8];
  Require(RAND_bytes(serial, sizeof serial) == 1, "serial");
  serial[0] &= 0x7F;
  Owned<BIGNUM, BN_free> serialNumber(BN_bin2bn(serial, sizeof serial, nullptr));
  Require(serialNumber &&
              BN_to_ASN1_INTEGER(serialNumber.get(), X509_get_serialNumber(certificate.get())),
          "serial number");
  X509_set_version(certificate.get(), 2);
  X509_gmtime_adj(X509_getm_notBefore(certificate.get()), -3600);
  X509_gmtime_adj(X509_getm_notAfter(certificate.get()), 86400);
  X509_set_pubkey(certificate.get(), key.get());
  X509_NAME* name = X509_get_subject_name(certificate.get());
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>("weblog test"), -1, -1, 0);
  X509_set_issuer_name(certificate.get(), name);
  X509V3_CTX context;
  X509V3_set_ctx_nodb(&context);
  X509V3_set_ctx(&context, certificate.get(), certificate.get(), nullptr, nullptr, 0);
  const std::pair<int, std::string> extensions[] = {
      {NID_basic_constraints, "critical,CA:TRUE"},
      {NID_key_usage, "critical,digitalSignature,keyCertSign"},
      {NID_subject_key_identifier, "hash"},
      {NID_subject_alt_name, subjectAltName}};
  for (const auto& [nid, value] : extensions) {
    Owned<X509_EXTENSION, X509_EXTENSION_free> extension(
        X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str()));
    Require(extension && X509_add_ext(certificate.get(), extension.get(), -1) == 1, "extension");
  }
  Require(X509_sign(certificate.get(), key.get(), EVP_sha256()) > 0, "signature");
  return TestCertificate{
      Pem([&](BIO* bio) { return PEM_write_bio_X509(bio, certificate.get()); }), Pem([&](BIO* bio) {
        return PEM_write_bio_PrivateKey(bio, key.get(), nullptr, nullptr, 0, nullptr, nullptr);
      })};
}

}  // namespace weblog_test
