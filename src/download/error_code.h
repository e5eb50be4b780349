#pragma once
// Results of a download round. The numbers travel in events and logs, so
// they keep their values.

enum EnumErrorCode : int {
  kDownloadOk = 1,
  kNoContentLength = 6,      // the remote length could not be probed
  kPackageNotOpened = 7,     // the package file cannot be opened
  kNoWorkerThread = 8,       // no worker thread could be started
  kNoNetwork = 9,            // no network connection, at start or during the round
  kNoProgress = 10,          // no byte arrived for 60 s
  kCdnTooManyRequests = 11,  // CDN source: more than 3 failed requests per task
  kPackageShort = 12,        // fewer bytes than the remote length after the round
  kTooManyRedirects = 13,    // the length probe met too many redirects
  kPackageMissing = 15,      // package missing or below 1 MiB after the round
};
