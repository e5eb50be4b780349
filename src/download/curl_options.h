#pragma once
// Sets options on an easy handle until one fails and performs the transfer
// only when all of them took, so no request leaves on a half-configured
// handle (for example without certificate verification).

#include <curl/curl.h>

#include "net/tls_verification.h"

class CurlOptions {
 public:
  explicit CurlOptions(CURL* curl) : curl_(curl) {}

  template <class Value>
  CurlOptions& Set(CURLoption option, Value value) {
    if (result_ == CURLE_OK) result_ = curl_easy_setopt(curl_, option, value);
    return *this;
  }
  CurlOptions& VerifyTls() {
    if (result_ == CURLE_OK) result_ = EnableTlsVerification(curl_);
    return *this;
  }
  // The first failure of the options, else the transfer's result.
  CURLcode Perform() { return result_ == CURLE_OK ? curl_easy_perform(curl_) : result_; }

 private:
  CURL* curl_;
  CURLcode result_ = CURLE_OK;
};
