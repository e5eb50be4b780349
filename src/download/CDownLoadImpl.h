#pragma once
// How the install flow gets the package: one supervised download round at a
// time, then the MD5 check against the product configuration.

#include <string>

class DownloadProgress;

class CDownLoadImpl {
 public:
  // One round; returns an EnumErrorCode. Everything needed to continue lives
  // in the package file and its task-information file `path` + ".xml".
  // `cdnInfo` receives the round's CDN report; `progress` may be null.
  static int SuperDownloadFile(const std::wstring& url, const std::wstring& path,
                               std::string& cdnInfo, int flag,
                               DownloadProgress* progress = nullptr);

  // Digest of the package in lower-case hex, written as "<version>###<md5>"
  // into `path` + ".db"; true when it equals `md5` or `md5Extra` exactly.
  static bool checkMD5(std::wstring path, std::wstring md5, std::wstring md5Extra,
                       std::wstring version);
};
