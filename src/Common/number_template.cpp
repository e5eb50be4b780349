#include "Common/number_template.h"

#include <cwchar>
#include <vector>

namespace {

// Skips up to two digits; false when a third follows.
bool SkipShortNumber(const std::wstring& text, std::size_t& i) {
  for (int digits = 0; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    if (++digits > 2) return false;
  }
  return true;
}

// The format holds "%%" and at most one directive that takes a double.
bool IsSafeFormat(const std::wstring& format) {
  int directives = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != L'%') continue;
    if (++i < format.size() && format[i] == L'%') continue;
    while (i < format.size() && std::wcschr(L"-+ #0", format[i]) && format[i] != L'\0') ++i;
    if (!SkipShortNumber(format, i)) return false;
    if (i < format.size() && format[i] == L'.') {
      ++i;
      if (!SkipShortNumber(format, i)) return false;
    }
    if (i >= format.size() || !std::wcschr(L"fFeEgGaA", format[i]) || format[i] == L'\0') {
      return false;
    }
    if (++directives > 1) return false;
  }
  return true;
}

}  // namespace

std::wstring FormatNumberTemplate(const std::wstring& format, double value) {
  if (!IsSafeFormat(format)) return format;
  // Width and precision are at most 99; 400 more holds any double in %f.
  std::vector<wchar_t> buffer(format.size() + 512);
  const int written = std::swprintf(buffer.data(), buffer.size(), format.c_str(), value);
  if (written < 0) return format;
  return std::wstring(buffer.data(), static_cast<std::size_t>(written));
}
