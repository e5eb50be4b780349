#include "system/url_rules.h"

#include <string_view>

namespace {

template <typename Char>
bool ContainsCdnMarker(std::basic_string_view<Char> url) {
  static constexpr Char kCdn[] = {'c', 'd', 'n', '.'};
  static constexpr Char kDl[] = {'d', 'l', '.'};
  using View = std::basic_string_view<Char>;
  return url.find(View(kCdn, 4)) != View::npos || url.find(View(kDl, 3)) != View::npos;
}

}  // namespace

bool isCdnUrl(const std::string& url) { return ContainsCdnMarker<char>(url); }

bool isCdnUrl(const std::wstring& url) { return ContainsCdnMarker<wchar_t>(url); }

bool IsCandidateUrl(const std::wstring& url) { return !url.empty() && !isCdnUrl(url); }

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

bool IsExeName(const std::wstring& text) {
  return text.size() <= 3 || text.ends_with(L".exe");
}
