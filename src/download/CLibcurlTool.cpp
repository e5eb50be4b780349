#include "download/CLibcurlTool.h"

#include <easylogging++.h>

#include "net/curl_handles.h"
#include "download/curl_options.h"

namespace {

constexpr const char* kUserAgentLine =
    "User-Agent:Mozilla/5.0 (Windows NT 6.1; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/62.0.3202.75 Safari/537.36";
// What callers used to receive in a 2000-byte buffer with its terminating NUL.
constexpr std::size_t kHeaderLimit = 1999;

// Options must not survive from one transfer to the next.
bool ResetHandle(CURL* curl) {
  if (!curl) {
    LOG(INFO) << " curl easy init fail !!!";
    return false;
  }
  curl_easy_reset(curl);
  return true;
}

// Larger reads than libcurl's 16 KiB: far fewer write callbacks and system
// calls per range, for 256 KiB per worker.
constexpr long kReceiveBufferBytes = 256 * 1024;

}  // namespace

CLibcurlTool::CLibcurlTool() : m_pCurl(curl_easy_init()) {}

CLibcurlTool::CLibcurlTool(CURL* curl) : m_pCurl(curl) {}

CLibcurlTool::~CLibcurlTool() {
  if (m_pCurl) curl_easy_cleanup(m_pCurl);
}

CURLcode CLibcurlTool::httpDownloadContent(const std::string& url, std::int64_t first,
                                           std::int64_t last, DownloadWorker* worker) {
  CTask* task = worker ? worker->currentTask() : nullptr;
  if (!task) {
    LOG(INFO) << " httpDownloadContent: no current task";
    return CURLE_BAD_FUNCTION_ARGUMENT;
  }
  const std::string range = std::to_string(first) + "-" + std::to_string(last);
  LOG(INFO) << " Request Range: (" << task->TaskId.load() << ", " << (last - first) << ") "
            << range;
  if (!ResetHandle(m_pCurl)) return CURLE_FAILED_INIT;
  const HeaderList headers = MakeHeaderList({kUserAgentLine});
  const CURLcode code = CurlOptions(m_pCurl)
                            .VerifyTls()
                            .Set(CURLOPT_HTTPHEADER, headers.get())
                            .Set(CURLOPT_URL, url.c_str())
                            .Set(CURLOPT_NOSIGNAL, 1L)
                            .Set(CURLOPT_RANGE, range.c_str())
                            .Set(CURLOPT_BUFFERSIZE, kReceiveBufferBytes)
                            .Set(CURLOPT_FOLLOWLOCATION, 1L)
                            .Set(CURLOPT_MAXREDIRS, 5L)
                            .Set(CURLOPT_TIMEOUT, 20L)
                            .Set(CURLOPT_CONNECTTIMEOUT, 3L)
                            .Set(CURLOPT_WRITEFUNCTION, &CLibcurlTool::downloadFunc)
                            .Set(CURLOPT_WRITEDATA, static_cast<void*>(worker))
                            .Set(CURLOPT_HEADERFUNCTION, &CLibcurlTool::HeaderCallback)
                            .Set(CURLOPT_HEADERDATA, static_cast<void*>(worker))
                            .Perform();
  if (code != CURLE_OK) figureError(code);
  return code;
}

CURLcode CLibcurlTool::Fetch(const std::string& url, bool headersOnly, long timeoutSeconds,
                             std::ostringstream& collected) {
  const long headers = headersOnly ? 1L : 0L;
  return CurlOptions(m_pCurl)
      .VerifyTls()
      .Set(CURLOPT_URL, url.c_str())
      .Set(CURLOPT_NOSIGNAL, 1L)
      .Set(CURLOPT_NOBODY, headers)
      .Set(CURLOPT_HEADER, headers)
      .Set(CURLOPT_FOLLOWLOCATION, 1L)
      .Set(CURLOPT_MAXREDIRS, 5L)
      .Set(CURLOPT_TIMEOUT, timeoutSeconds)
      .Set(CURLOPT_WRITEFUNCTION, &CollectInto<std::ostringstream>)
      .Set(CURLOPT_WRITEDATA, static_cast<void*>(&collected))
      .Perform();
}

CURLcode CLibcurlTool::httpGet(const std::string& url, std::int64_t, std::int64_t, int,
                               std::string& header, long& status) {
  header.clear();
  status = 0;
  if (!ResetHandle(m_pCurl)) return CURLE_FAILED_INIT;
  std::ostringstream collected;
  const CURLcode code = Fetch(url, true, 30L, collected);
  curl_easy_getinfo(m_pCurl, CURLINFO_RESPONSE_CODE, &status);
  header = collected.str().substr(0, kHeaderLimit);
  if (code != CURLE_OK) figureError(code);
  return code;
}

CURLcode CLibcurlTool::httpGet(const std::string& url, std::string& body, bool) {
  if (!ResetHandle(m_pCurl)) return CURLE_FAILED_INIT;
  std::ostringstream collected;
  const CURLcode code = Fetch(url, false, 5L, collected);
  body = collected.str();
  return code;
}

int CLibcurlTool::HttpPost(const std::string& url, const std::string& body, std::string& response) {
  const EasyHandle curl = MakeEasyHandle();
  if (!curl) {
    LOG(INFO) << " curl easy init fail !!!";
    return CURLE_FAILED_INIT;
  }
  response.clear();
  return CurlOptions(curl.get())
      .VerifyTls()
      .Set(CURLOPT_URL, url.c_str())
      .Set(CURLOPT_NOSIGNAL, 1L)
      .Set(CURLOPT_POST, 1L)
      .Set(CURLOPT_POSTFIELDS, body.c_str())
      .Set(CURLOPT_TIMEOUT, 10L)
      .Set(CURLOPT_CONNECTTIMEOUT, 8L)
      .Set(CURLOPT_WRITEFUNCTION, &CollectInto<std::string>)
      .Set(CURLOPT_WRITEDATA, static_cast<void*>(&response))
      .Set(CURLOPT_READFUNCTION, static_cast<curl_read_callback>(nullptr))
      .Perform();
}

std::size_t CLibcurlTool::collectBody(char* data, std::size_t size, std::size_t count,
                                      std::ostringstream* stream) {
  const std::size_t received = size * count;
  if (!data || !stream) return static_cast<std::size_t>(-1);
  stream->write(data, static_cast<std::streamsize>(received));
  return received;
}

std::size_t CLibcurlTool::collectBody(char* data, std::size_t size, std::size_t count,
                                      std::string* target) {
  const std::size_t received = size * count;
  if (!data || !target) return static_cast<std::size_t>(-1);
  target->append(data, received);
  return received;
}
