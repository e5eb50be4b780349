#include "Common/package_file_name.h"

#include "system/url_rules.h"

std::wstring PackageFileNameOfUrl(const std::wstring& url, const std::wstring& tag) {
  return PackageStemOfUrl(url) + L"_" + tag + (IsExeName(url) ? L".exe" : L".apk");
}
