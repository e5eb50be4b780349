#pragma once
// The maker's web-log component: this machine's identity on the log service
// (guid and user id, kept in the machine record) and the analytics and usage
// records it sends to the maker's web endpoints (config/endpoints.h).
//
// No lock of its own: GetUserInfo runs once before any send; the sends may
// then run on several threads at once (the HTTP clients, the uid cache and
// the process-wide session id are guarded).
//
// Linux: the WinINet GETs of the Windows program (log service, base-URL
// file, geolocation) are a second CurlHttpClient with WinINet's time-outs
// and request headers; their proxy is the environment's (http_proxy, ...),
// which is what "preconfigured" means here.

#include <cstdint>
#include <mutex>
#include <string>

#include "weblog/curl_http_client.h"
#include "weblog/iweb_log.h"

class WebLog final : public IWebLog {
 public:
  struct Settings {
    HttpClientOptions post;  // POST requests (analytics, feedback)
    HttpClientOptions get;   // GET requests (log service, base URL, geolocation)
  };
  // The values first passed to AddUsageLog, filling in for callers of the
  // other service operations that pass none.
  struct RememberedCall {
    std::int32_t operation = 0;   // first non-zero
    std::int32_t softwareId = 0;  // first non-zero
    std::string email;            // first non-empty
    std::string lastSoftwareId;   // last one, "%08d"
  };

  static Settings DefaultSettings();

  explicit WebLog(Settings settings = DefaultSettings());
  ~WebLog();
  WebLog(const WebLog&) = delete;
  WebLog& operator=(const WebLog&) = delete;

  std::int32_t AddUsageLog(std::int32_t operation, std::int32_t result, const char* resultData,
                           std::int32_t softwareId, std::int32_t languageId, std::int32_t siteId,
                           const char* version, const char* email, std::int32_t activityId,
                           std::int32_t versionId) override;
  std::int32_t GetUserInfo(const char** guid, const char** userId) override;
  std::int32_t QueryTools(const char** answer, std::int32_t languageId,
                          std::int32_t softwareId) override;
  std::int32_t QueryDownloader(const char** answer, std::int32_t languageId,
                               std::int32_t softwareId, std::int32_t siteId) override;
  std::int32_t ReportLog(std::int32_t softwareId, const char* email, const char* content,
                         const char* uploadId) override;
  std::int32_t SubmitFeedback(const char* productId, const char* userEmail, const char* content,
                              const char* logId, const char* version, const char* subject) override;
  std::int32_t SendGAEvent(const char* trackingId, const char* clientId, const char* category,
                           const char* action, const char* label, const char* appName,
                           const char* appVersion) override;
  // The libcurl code when the request failed, else the HTTP status - 200.
  std::int32_t SoftDataReport(const char* jsonStr) override;
  // 0: HTTP 204; -1: another status; 253: the request failed; 254: no query.
  std::int32_t SendGA4Event(const char* query) override;

  const std::string& guid() const { return guid_; }
  const std::string& userId() const { return userId_; }
  const std::string& location() const { return location_; }
  const std::string& city() const { return city_; }
  const std::string& outIp() const { return outIp_; }
  const std::string& baseUrl() const { return baseUrl_; }
  const RememberedCall& rememberedCall() const { return remembered_; }

 private:
  // The WinINet GET: 0 with the body for HTTP 200, else -1.
  int Fetch(const std::string& url, std::string* answer);
  void DetermineBaseUrl();
  int QueryUser();
  void CreateMachineRecord();
  void ResolveLocation();
  // Applies the first line of "proxy.txt" to the POST client.
  void ApplyProxyFile();
  std::string ReportUidOnce();
  // "%08d" of `softwareId`, or the remembered last one for 0.
  std::string SoftwareIdText(std::int32_t softwareId) const;
  int ServiceQuery(const std::string& url, const char** answer);

  std::string guid_;
  std::string userId_;
  std::string location_;
  std::string city_;
  std::string outIp_;
  std::string baseUrl_;
  std::uint32_t creationTick_ = 0;
  std::uint32_t useTimeSeconds_ = 0;
  RememberedCall remembered_;
  std::wstring workingDirectory_;
  std::mutex uidMutex_;
  std::string uid_;
  std::string answer_;  // the text the last query's *answer points to
  CurlHttpClient httpClient_;
  CurlHttpClient getClient_;
};
