#include "platform/profile.h"

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/file_contents.h"
#include "platform/ignore_case.h"
#include "platform/utf8.h"

namespace platform {
namespace {

constexpr std::size_t kMaxProfileSize = 1 << 20;

std::string_view Trim(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\v\f";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool NameIs(std::string_view utf8, const std::wstring& wanted) {
  return EqualsIgnoreCase(FromUtf8(std::string(Trim(utf8))), wanted);
}

std::wstring Unquote(std::wstring value) {
  if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// The raw value of `key` in the first section named `section`; nullopt when
// the file, the section or the key is missing.
std::optional<std::wstring> FindValue(const std::wstring& section,
                                      const std::wstring& key,
                                      const std::wstring& file) {
  const auto contents = ReadFileContents(file, kMaxProfileSize);
  if (!contents) return std::nullopt;
  std::string_view rest = *contents;
  if (rest.starts_with("\xEF\xBB\xBF")) rest.remove_prefix(3);
  bool inSection = false;
  while (!rest.empty()) {
    const std::size_t end = rest.find_first_of("\r\n");
    const std::string_view line = Trim(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const std::size_t close = line.rfind(']');
      if (close == std::string_view::npos) continue;
      if (inSection) return std::nullopt;  // later sections of that name are not searched
      inSection = NameIs(line.substr(1, close - 1), section);
      continue;
    }
    const std::size_t equals = line.find('=');
    if (inSection && equals != std::string_view::npos &&
        NameIs(line.substr(0, equals), key)) {
      return Unquote(FromUtf8(std::string(Trim(line.substr(equals + 1)))));
    }
  }
  return std::nullopt;
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\v' || c == L'\f'; }

}  // namespace

int GetPrivateProfileInt(const std::wstring& section, const std::wstring& key,
                         int defaultValue, const std::wstring& file) {
  const auto value = FindValue(section, key, file);
  if (!value || value->empty()) return defaultValue;
  std::size_t i = 0;
  while (i < value->size() && IsBlank((*value)[i])) ++i;
  const bool negative = i < value->size() && (*value)[i] == L'-';
  if (i < value->size() && ((*value)[i] == L'-' || (*value)[i] == L'+')) ++i;
  std::uint32_t number = 0;  // unsigned: wraps like the Windows conversion
  for (; i < value->size() && (*value)[i] >= L'0' && (*value)[i] <= L'9'; ++i) {
    number = number * 10 + static_cast<std::uint32_t>((*value)[i] - L'0');
  }
  return static_cast<int>(negative ? 0u - number : number);
}

std::wstring GetPrivateProfileString(const std::wstring& section,
                                     const std::wstring& key,
                                     const std::wstring& defaultValue,
                                     const std::wstring& file) {
  return FindValue(section, key, file).value_or(defaultValue);
}

}  // namespace platform
