// The length probe: the header of the remote file, its CDN status, and the
// redirect targets it names.
#include <easylogging++.h>

#include <algorithm>
#include <memory>
#include <string_view>

#include "download/CDownloadTaskManager.h"
#include "download/CLibcurlTool.h"
#include "download/header_text.h"
#include "telemetry/SingleUserLog.h"

namespace {

using header_text::FindName;
using header_text::LeadingNumber;
using header_text::LineEnd;
using header_text::RawValue;
using header_text::Value;

constexpr std::size_t kNotFound = std::string_view::npos;

// Content-Range's total wins: a ranged answer's Content-Length is the range's.
std::int64_t LengthIn(std::string_view header) {
  const std::size_t range = FindName(header, "Content-Range:");
  if (range != kNotFound) {
    const std::string_view line = RawValue(header, range);
    const std::size_t slash = line.find('/');
    return slash == kNotFound ? 0 : LeadingNumber(line.substr(slash + 1));
  }
  const std::size_t length = FindName(header, "Content-Length:");
  return LeadingNumber(Value(header, length + std::string_view("Content-Length:").size()));
}

bool IsAbsoluteUrl(std::string_view url) {
  const std::size_t scheme = url.find("://");
  return scheme != kNotFound && url.find_first_of("/?#") > scheme;
}

// A relative Location is resolved against the URL that was asked for, as
// libcurl did when it followed it.
std::string ResolveLocation(const std::string& base, std::string_view location) {
  std::string target(location);
  if (IsAbsoluteUrl(target)) return target;
  const std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> url(curl_url(), &curl_url_cleanup);
  char* resolved = nullptr;
  if (url && curl_url_set(url.get(), CURLUPART_URL, base.c_str(), 0) == CURLUE_OK &&
      curl_url_set(url.get(), CURLUPART_URL, target.c_str(), 0) == CURLUE_OK &&
      curl_url_get(url.get(), CURLUPART_URL, &resolved, 0) == CURLUE_OK) {
    target = resolved;
    curl_free(resolved);
  }
  return target;
}

}  // namespace

void CDownloadTaskManager::ReportCdnStatus(const std::string& header, std::string& cdnStatus) {
  const std::size_t cacheStatus = FindName(header, "CF-Cache-Status:");
  const std::size_t ray = FindName(header, "CF-RAY:");
  const std::size_t rayEnd = ray == kNotFound ? kNotFound : LineEnd(header, ray);
  const std::size_t dash =
      ray == kNotFound ? kNotFound : std::string_view(header).substr(0, rayEnd).find('-', ray + 7);
  if (cacheStatus != kNotFound && dash != kNotFound) {
    // The status keeps its leading blank.
    const std::string status(RawValue(header, cacheStatus + 16));
    const std::string code = header.substr(dash + 1, rayEnd - dash - 1);
    LOG(INFO) << " Cdn result: " << status << ", " << code;
    userLog_.AddUserLog("Download", "3.CDNStatus", (code + "/" + status).c_str(), false);
    return;
  }
  const std::size_t xCache = FindName(header, "X-Cache: ");
  if (xCache == kNotFound) return;
  cdnStatus = Value(header, xCache + 9);
  LOG(INFO) << " Cdn result: " << cdnStatus;
  userLog_.AddUserLog("Download", "3.CDNStatus", cdnStatus.c_str(), false);
}

std::int64_t CDownloadTaskManager::getContentLength(CURLcode& code, std::string& cdnStatus) {
  if (const std::int64_t cached = userLog_.GetUrlContentLength(remoteUrl_); cached != 0) {
    cdnStatus.clear();
    return cached;
  }
  code = CURLE_OK;
  CLibcurlTool tool;
  // A server may keep naming a new place while answering 200; libcurl's own
  // redirect limit does not see those, so the probes are bounded here.
  for (int probes = 1;; ++probes) {
    LOG(INFO) << " before getContentLength GetHeader";
    std::string header;
    long status = 0;
    code = tool.GetHeader(remoteUrl_, header, status);
    LOG(INFO) << " after getContentLength GetHeader";
    ReportCdnStatus(header, cdnStatus);
    if (status != 200) {
      cdnStatus.clear();
      return 0;
    }
    const std::size_t location = FindName(header, "Location:");
    if (location != kNotFound) {
      remoteUrl_ = ResolveLocation(remoteUrl_, Value(header, location + 9));
      if (probes < kMaxProbes) continue;
      LOG(INFO) << " Get Contentlength = " << 0 << ", error CURLE_TOO_MANY_REDIRECTS";
      code = CURLE_TOO_MANY_REDIRECTS;
      cdnStatus.clear();
      return 0;
    }
    if (FindName(header, "Content-Range:") == kNotFound &&
        FindName(header, "Content-Length:") == kNotFound)
      return 0;
    const std::int64_t length = LengthIn(header);
    LOG(INFO) << " Get Contentlength = " << length;
    if (length > kMaxContentLength) {
      LOG(INFO) << " [Error]: " << "content length beyond any package: " << length;
      return 0;
    }
    userLog_.SetUrlContentLength(remoteUrl_, length);
    return length;
  }
}
