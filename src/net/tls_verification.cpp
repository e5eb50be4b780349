#include "net/tls_verification.h"

#include <easylogging++.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <memory>
#include <string>

#include "config/endpoints.h"

namespace {

// Adds the anchor to the store libcurl has already filled from the system CA
// store, so both are trusted. Read at handshake time: the endpoints are set
// once at start-up.
CURLcode AddTrustAnchor(CURL*, void* sslContext, void*) {
  const std::string pem = GetEndpoints().trustAnchorPem;
  X509_STORE* store = SSL_CTX_get_cert_store(static_cast<SSL_CTX*>(sslContext));
  std::unique_ptr<BIO, decltype(&BIO_free)> bio(
      BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())), &BIO_free);
  int added = 0;
  while (bio) {
    std::unique_ptr<X509, decltype(&X509_free)> cert(
        PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr), &X509_free);
    if (!cert) break;
    if (X509_STORE_add_cert(store, cert.get()) == 1) ++added;
  }
  // The read loop always ends on a "no start line" error; it must not
  // linger in this thread's OpenSSL error queue.
  ERR_clear_error();
  if (added == 0)
    LOG(INFO) << " TrustAnchor holds no readable certificate; using the system CA store only";
  return CURLE_OK;
}

}  // namespace

CURLcode EnableTlsVerification(CURL* curl) {
  CURLcode result = curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
  if (result == CURLE_OK) result = curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
  if (result == CURLE_OK && !GetEndpoints().trustAnchorPem.empty()) {
    result = curl_easy_setopt(curl, CURLOPT_SSL_CTX_FUNCTION, &AddTrustAnchor);
  }
  return result;
}
