// The analytics operations of WebLog: GA4 hits, funnel reports and
// Universal Analytics events.
#include <easylogging++.h>

#include <chrono>

#include "config/endpoints.h"
#include "platform/system_facts.h"
#include "weblog/client_id.h"
#include "weblog/funnel_report.h"
#include "weblog/ga4_encoding.h"
#include "weblog/machine_facts.h"
#include "hash/md5.h"
#include "weblog/request_text.h"
#include "weblog/session_id.h"
#include "weblog/web_log.h"
#include "weblog/working_files.h"

namespace {

constexpr std::int32_t kGa4RequestFailed = 253;
constexpr std::int32_t kGa4NoQuery = 254;

// Linux: os-release's name and version where Windows names its release.
std::string OsVersion() {
  platform::SystemFacts& facts = platform::Facts();
  const platform::OsRelease release = facts.GetOsRelease();
  std::string name = release.name;
  if (!release.version.empty()) name += " " + release.version;
  return name + (facts.Is64BitOs() ? " x64" : " x32");
}

std::int64_t NowMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace

std::int32_t WebLog::SendGA4Event(const char* query) {
  if (!query || !*query) return kGa4NoQuery;
  const std::string url = GetEndpoints().ga4Collection +
                          "/g/collect?v=2&cid=" + AnalyticsClientId() + EncodeGa4Query(query);
  ApplyProxyFile();
  CurlHttpClient::Response response;
  if (httpClient_.Post(url, kJsonContentType, "", &response) != 0) return kGa4RequestFailed;
  return response.status == 204 ? 0 : -1;
}

std::int32_t WebLog::SoftDataReport(const char* jsonStr) {
  FunnelIdentity identity{"", FunnelSessionId(), OsVersion()};
  const Endpoints endpoints = GetEndpoints();
  const std::string url = TestMarkerPresent(workingDirectory_)
                              ? endpoints.analyticsTestCollector + "/collector"
                              : endpoints.analyticsCollector + "/collect";
  const Json::Value body = ParseFunnelBody(jsonStr);
  identity.uid = ReportUidOnce();
  const Json::Value report = BuildFunnelReport(body, identity, NowMilliseconds());
  ApplyProxyFile();
  CurlHttpClient::Response response;
  const int code = httpClient_.Post(url, kJsonContentType, report.toStyledString(), &response);
  if (code != 0) {
    LOG(INFO) << " web log: funnel report failed, libcurl code " << code;
    return code;
  }
  return response.status - 200;
}

std::string WebLog::ReportUidOnce() {
  std::lock_guard<std::mutex> guard(uidMutex_);
  if (uid_.empty()) {
    const std::string machineId = ReadMachineId();
    if (!machineId.empty()) uid_ = hash::Md5Hex(machineId);
  }
  return uid_;
}

std::int32_t WebLog::SendGAEvent(const char* trackingId, const char* clientId, const char* category,
                                 const char* action, const char* label, const char* appName,
                                 const char* appVersion) {
  for (const char* required : {trackingId, clientId, category, action, label, appName}) {
    if (!required || !*required) return -1;
  }
  const std::string body = "v=1&tid=" + TextOf(trackingId) + "&cid=" + TextOf(clientId) +
                           "&t=event&ec=" + TextOf(category) + "&ea=" + TextOf(action) +
                           "&el=" + TextOf(label) + "&an=" + TextOf(appName) +
                           "&av=" + TextOf(appVersion);
  ApplyProxyFile();
  CurlHttpClient::Response response;
  const int code = httpClient_.Post(GetEndpoints().ga4Collection + "/collect", kFormContentType,
                                    body, &response);
  if (code != 0) return code;
  return response.status >= 200 && response.status < 300 ? 0 : -1;
}
