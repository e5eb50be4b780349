#pragma once
// The URL of the downloader information query on the update server.

#include <optional>
#include <string>

#include "config/endpoints.h"

struct DownloadInfoQuery {
  std::string url;
  std::string flavour;  // "test", "cn" or "com", as the log line names the host
};

// The test environment asks the international host over plain http; the
// sales sites in China ask the China host; everyone else the international
// host. Systems older than Windows 10 ask for the older package type.
DownloadInfoQuery MakeDownloadInfoQuery(int languageId, int downloaderId, int siteId,
                                        bool olderThanWindows10, bool testEnvironment,
                                        const Endpoints& endpoints);

// The "<Downloader>" ... "</Downloader>" text of an answer body, or nothing
// when either tag is missing.
std::optional<std::string> ExtractDownloaderElement(const std::string& body);
