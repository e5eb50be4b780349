#include "weblog/curl_http_client.h"

#include <curl/curl.h>

#include <memory>

#include "net/curl_handles.h"
#include "net/tls_verification.h"

namespace {

constexpr std::size_t kMaxAnswerBytes = std::size_t{4} << 20;

std::size_t CollectAnswer(char* data, std::size_t size, std::size_t count, void* answer) {
  auto* text = static_cast<std::string*>(answer);
  const std::size_t bytes = size * count;
  if (bytes > kMaxAnswerBytes - text->size()) return 0;
  try {
    text->append(data, bytes);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  return bytes;
}

int StopWhenCancelled(void* cancel, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<const std::atomic<bool>*>(cancel)->load() ? 1 : 0;
}

// Sets options in order until one fails; the failure is logged once and
// every later Set is skipped.
class OptionSetter {
 public:
  OptionSetter(CURL* handle, const LibraryLog& log) : handle_(handle), log_(log) {}

  template <typename Value>
  void Set(CURLoption option, Value value, const char* failure) {
    if (code_ != CURLE_OK) return;
    code_ = curl_easy_setopt(handle_, option, value);
    if (code_ != CURLE_OK) Fail(failure, code_);
  }
  // Fails with `code` unless `ok` (or an earlier step failed already).
  void Require(bool ok, const char* failure, CURLcode code) {
    if (code_ == CURLE_OK && !ok) Fail(failure, code);
  }
  void Fail(const char* failure, CURLcode code) {
    code_ = code;
    log_.Append(std::string(failure) + " [" + std::to_string(static_cast<int>(code)) + "]\n");
  }
  CURLcode code() const { return code_; }

 private:
  CURL* handle_;
  const LibraryLog& log_;
  CURLcode code_ = CURLE_OK;
};

}  // namespace

CurlHttpClient::CurlHttpClient(HttpClientOptions options)
    : options_(std::move(options)), log_(options_.logFolder) {
  static std::once_flag initialised;
  std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

void CurlHttpClient::SetProxy(std::string proxy) {
  std::lock_guard<std::mutex> guard(connectionMutex_);
  proxy_ = std::move(proxy);
}

int CurlHttpClient::Post(const std::string& url, const std::string& headerLine,
                         const std::string& body, Response* response) {
  return Perform(url, {headerLine}, &body, response);
}

int CurlHttpClient::Get(const std::string& url, const std::vector<std::string>& headerLines,
                        Response* response) {
  return Perform(url, headerLines, nullptr, response);
}

CurlHttpClient::Response CurlHttpClient::LastResponse() const {
  std::lock_guard<std::mutex> guard(responseMutex_);
  return lastResponse_;
}

int CurlHttpClient::Perform(const std::string& url, const std::vector<std::string>& headerLines,
                            const std::string* postBody, Response* response) {
  if (options_.cancel && options_.cancel->load()) return CURLE_ABORTED_BY_CALLBACK;
  EasyHandle handle = MakeEasyHandle();
  std::string proxy;
  {
    std::lock_guard<std::mutex> guard(connectionMutex_);
    proxy = proxy_;
  }
  if (!handle) {
    log_.Append("Failed to create CURL connection\n");
    return CURLE_FAILED_INIT;
  }
  bool headersBuilt = false;
  const HeaderList headers = MakeHeaderList(headerLines, &headersBuilt);
  std::string answer;

  OptionSetter set(handle.get(), log_);
  set.Set(CURLOPT_NOSIGNAL, 1L, "Failed to set CURLOPT_NOSIGNAL");
  const CURLcode tls = EnableTlsVerification(handle.get());
  set.Require(tls == CURLE_OK, "Failed to enable certificate checks", tls);
  set.Set(CURLOPT_PROTOCOLS_STR, "http,https", "Failed to set CURLOPT_PROTOCOLS_STR");
  set.Set(CURLOPT_REDIR_PROTOCOLS_STR, "http,https", "Failed to set CURLOPT_REDIR_PROTOCOLS_STR");
  set.Set(CURLOPT_ACCEPT_ENCODING, "", "Failed to set CURLOPT_ACCEPT_ENCODING");
  if (!proxy.empty()) set.Set(CURLOPT_PROXY, proxy.c_str(), "Failed to set CURLOPT_PROXY");
  set.Set(CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(options_.connectTimeout.count()),
          "Failed to set connection time out");
  set.Set(CURLOPT_TIMEOUT_MS, static_cast<long>(options_.totalTimeout.count()),
          "Failed to set time out");
  if (options_.stallTimeout.count() > 0) {
    set.Set(CURLOPT_LOW_SPEED_LIMIT, 1L, "Failed to set CURLOPT_LOW_SPEED_LIMIT");
    set.Set(CURLOPT_LOW_SPEED_TIME, static_cast<long>(options_.stallTimeout.count()),
            "Failed to set CURLOPT_LOW_SPEED_TIME");
  }
  if (options_.cancel) {
    set.Set(CURLOPT_XFERINFOFUNCTION, &StopWhenCancelled, "Failed to set CURLOPT_XFERINFOFUNCTION");
    set.Set(CURLOPT_XFERINFODATA, static_cast<const void*>(options_.cancel),
            "Failed to set CURLOPT_XFERINFODATA");
    set.Set(CURLOPT_NOPROGRESS, 0L, "Failed to set CURLOPT_NOPROGRESS");
  }
  set.Set(CURLOPT_WRITEFUNCTION, &CollectAnswer, "Failed to set CURLOPT_WRITEFUNCTION");
  set.Set(CURLOPT_FOLLOWLOCATION, 1L, "Failed to CURLOPT_FOLLOWLOCATION");
  set.Set(CURLOPT_URL, url.c_str(),
          postBody ? "Failed to set error buffer" : "Failed to set CURLOPT_URL");
  set.Set(CURLOPT_WRITEDATA, static_cast<void*>(&answer), "Failed to set CURLOPT_WRITEDATA");
  set.Require(headersBuilt, "Failed to set CURLOPT_HTTPHEADER", CURLE_OUT_OF_MEMORY);
  set.Set(CURLOPT_HTTPHEADER, headers.get(), "Failed to set CURLOPT_HTTPHEADER");
  if (postBody) {
    set.Set(CURLOPT_POST, 1L, "Failed to set CURLOPT_POST");
    set.Set(CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(postBody->size()),
            "Failed to set CURLOPT_POSTFIELDSIZE");
    set.Set(CURLOPT_POSTFIELDS, postBody->c_str(), "Failed to set CURLOPT_POSTFIELDS");
  } else {
    set.Set(CURLOPT_HTTPGET, 1L, "Failed to set CURLOPT_HTTPGET");
  }
  if (set.code() != CURLE_OK) return set.code();

  const CURLcode performed = curl_easy_perform(handle.get());
  if (performed != CURLE_OK) {
    set.Fail("Failed to perform request", performed);
    return performed;
  }
  long status = 0;
  curl_easy_getinfo(handle.get(), CURLINFO_RESPONSE_CODE, &status);
  Response result{static_cast<std::int32_t>(status), std::move(answer)};
  {
    std::lock_guard<std::mutex> guard(responseMutex_);
    lastResponse_ = result;
  }
  if (response) *response = std::move(result);
  return CURLE_OK;
}
