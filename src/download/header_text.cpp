#include "download/header_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace header_text {

std::size_t FindName(std::string_view text, std::string_view name) {
  const auto sameLetter = [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  };
  for (auto from = text.begin();;) {
    const auto at = std::search(from, text.end(), name.begin(), name.end(), sameLetter);
    if (at == text.end()) return std::string_view::npos;
    if (at == text.begin() || at[-1] == '\n') return static_cast<std::size_t>(at - text.begin());
    from = at + 1;
  }
}

std::size_t LineEnd(std::string_view text, std::size_t from) {
  return std::min(text.find_first_of("\r\n", from), text.size());
}

std::string_view RawValue(std::string_view text, std::size_t from) {
  from = std::min(from, text.size());
  return text.substr(from, LineEnd(text, from) - from);
}

std::string_view Value(std::string_view text, std::size_t from) {
  std::string_view value = RawValue(text, from);
  value.remove_prefix(std::min(value.find_first_not_of(" \t"), value.size()));
  return value;
}

std::int64_t LeadingNumber(std::string_view text) {
  std::int64_t value = 0;
  if (std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc()) return 0;
  return value;
}

}  // namespace header_text
