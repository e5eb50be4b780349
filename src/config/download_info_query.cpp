#include "config/download_info_query.h"

#include <cstdio>

namespace {

constexpr std::size_t kMaxQueryUrl = 511;

bool IsChinaSite(int siteId) {
  for (int id : {54, 93, 118, 127, 133, 290}) {
    if (id == siteId) return true;
  }
  return false;
}

std::string AsPlainHttp(const std::string& baseUrl) {
  constexpr std::string_view kHttps = "https://";
  return baseUrl.starts_with(kHttps) ? "http://" + baseUrl.substr(kHttps.size()) : baseUrl;
}

}  // namespace

DownloadInfoQuery MakeDownloadInfoQuery(int languageId, int downloaderId, int siteId,
                                        bool olderThanWindows10, bool testEnvironment,
                                        const Endpoints& endpoints) {
  DownloadInfoQuery query;
  std::string base;
  if (testEnvironment) {
    base = AsPlainHttp(endpoints.updateServer);
    query.flavour = "test";
  } else if (IsChinaSite(siteId)) {
    base = endpoints.updateServerChina;
    query.flavour = "cn";
  } else {
    base = endpoints.updateServer;
    query.flavour = "com";
  }
  char path[160];
  std::snprintf(path, sizeof path, "/queryDownloader?LanguageId=%d&SoftWareID=%d&SiteID=%d%s",
                languageId, downloaderId, siteId, olderThanWindows10 ? "&package_type=5" : "");
  query.url = (base + path).substr(0, kMaxQueryUrl);
  return query;
}

std::optional<std::string> ExtractDownloaderElement(const std::string& body) {
  constexpr std::string_view kOpen = "<Downloader>";
  constexpr std::string_view kClose = "</Downloader>";
  const std::size_t start = body.find(kOpen);
  if (start == std::string::npos) return std::nullopt;
  const std::size_t end = body.find(kClose, start + kOpen.size());
  if (end == std::string::npos) return std::nullopt;
  return body.substr(start, end + kClose.size() - start);
}
