#include "system/url_rules.h"

bool IsCandidateUrl(const std::wstring& url) {
  return !url.empty() && url.find(L"cdn.") == std::wstring::npos &&
         url.find(L"dl.") == std::wstring::npos;
}

std::wstring PackageNameOfUrl(const std::wstring& url) {
  const std::size_t slash = url.rfind(L'/');
  if (slash == std::wstring::npos) return {};
  const std::size_t dot = url.find(L'.', slash + 1);
  if (dot == std::wstring::npos) return {};
  return url.substr(slash + 1, dot - slash - 1);
}

std::wstring PackageStemOfUrl(const std::wstring& url) {
  const std::size_t slash = url.rfind(L'/');
  if (slash == std::wstring::npos) return url;
  const std::wstring segment = url.substr(slash + 1);
  const std::size_t dot = segment.rfind(L'.');
  return dot == std::wstring::npos ? segment : segment.substr(0, dot);
}

bool IsInstallerUrl(const std::wstring& url) {
  return url.size() <= 3 || url.ends_with(L".exe");
}
