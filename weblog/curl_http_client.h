#pragma once
// The web log's HTTP client over libcurl's easy interface: a new handle per
// request, every content encoding accepted, redirects followed (HTTP and
// HTTPS only), the answer collected into a string. Certificates and host
// names are always verified, against the system's CA store plus the
// endpoints' trust anchor when one is configured. Each failing step writes
// one line to the library log.
//
// Safe to use from several threads at once.

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "weblog/http_client_options.h"
#include "weblog/library_log.h"

class CurlHttpClient {
 public:
  struct Response {
    std::int32_t status = 0;
    std::string text;
  };

  explicit CurlHttpClient(HttpClientOptions options);
  CurlHttpClient(const CurlHttpClient&) = delete;
  CurlHttpClient& operator=(const CurlHttpClient&) = delete;

  // Used by later requests; empty: the environment's proxy settings.
  void SetProxy(std::string proxy);

  // Both return the libcurl result code; on CURLE_OK *response holds the
  // status and the answer. Answers over 4 MiB fail with CURLE_WRITE_ERROR.
  int Post(const std::string& url, const std::string& headerLine, const std::string& body,
           Response* response);
  int Get(const std::string& url, const std::vector<std::string>& headerLines, Response* response);

  // The last successful transfer's status and answer.
  Response LastResponse() const;

 private:
  int Perform(const std::string& url, const std::vector<std::string>& headerLines,
              const std::string* postBody, Response* response);

  const HttpClientOptions options_;
  const LibraryLog log_;

  mutable std::mutex connectionMutex_;  // proxy_
  std::string proxy_;

  mutable std::mutex responseMutex_;
  Response lastResponse_;
};
