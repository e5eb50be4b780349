#pragma once
// The program's HTTP client: one libcurl easy handle, reused for every
// transfer of its owner (libcurl keeps the connection), and five transfers
// with fixed options. libcurl's global initialisation belongs to start-up.
//
// Results are libcurl codes unless said otherwise; every call blocks until
// its transfer ends. A tool without a handle fails each transfer on it with
// CURLE_FAILED_INIT.

#include <curl/curl.h>

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "download/download_worker.h"

class CLibcurlTool {
 public:
  CLibcurlTool();
  // Takes over `curl`, which may be null.
  explicit CLibcurlTool(CURL* curl);
  ~CLibcurlTool();
  CLibcurlTool(const CLibcurlTool&) = delete;
  CLibcurlTool& operator=(const CLibcurlTool&) = delete;

  // Fetches bytes first..last of `url` into the worker's package file at its
  // current task's DownloadedPos. The task must not change meanwhile.
  CURLcode httpDownloadContent(const std::string& url, std::int64_t first, std::int64_t last,
                               DownloadWorker* worker);

  // The raw header blocks of every response of the redirect chain, cut to
  // 1999 bytes, and the final HTTP status; both also after a failure.
  CURLcode GetHeader(const std::string& url, std::string& header, long& status) {
    return httpGet(url, 0, 0, 0, header, status);
  }
  // The long form of GetHeader; the offsets and the int are not used.
  CURLcode httpGet(const std::string& url, std::int64_t, std::int64_t, int, std::string& header,
                   long& status);

  // The response body, also what arrived before a failure.
  CURLcode httpGet(const std::string& url, std::string& body, bool);

  // On a handle of its own.
  int HttpPost(const std::string& url, const std::string& body, std::string& response);

  // Sends the file as multipart form to the log-upload endpoint. An empty
  // upload name becomes "NoName_<local time stamp><extension>". 0 when the
  // server answered 200; -1 for a path shorter than 5 characters, -2 without
  // a handle, -3 for any other failure.
  int UploadFile(std::string localPath, std::string uploadName, std::string productId,
                 std::string version, std::string catalogue);

  // Logs the text for `code`; always 1.
  static int figureError(CURLcode code);

  // libcurl callbacks of the ranged download; `worker` is the DownloadWorker.
  static std::size_t downloadFunc(char* data, std::size_t size, std::size_t count, void* worker);
  static std::size_t HeaderCallback(char* line, std::size_t size, std::size_t count, void* worker);

  // Append what arrived and return its size; the string variant returns -1
  // without data or target.
  static std::size_t collectBody(char* data, std::size_t size, std::size_t count,
                                 std::ostringstream* stream);
  static std::size_t collectBody(char* data, std::size_t size, std::size_t count,
                                 std::string* target);

 private:
  template <class Target>
  static std::size_t CollectInto(char* data, std::size_t size, std::size_t count, void* target) {
    return collectBody(data, size, count, static_cast<Target*>(target));
  }
  // The GET of both httpGet forms into `collected`.
  CURLcode Fetch(const std::string& url, bool headersOnly, long timeoutSeconds,
                 std::ostringstream& collected);

  CURL* m_pCurl;
};
