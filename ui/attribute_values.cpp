#include "ui/attribute_values.h"

#include <array>
#include <charconv>

namespace ui {
namespace {

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// Splits "a,b,c" into exactly N integers.
template <size_t N>
std::optional<std::array<int, N>> ParseInts(std::string_view value) {
  std::array<int, N> out{};
  for (size_t i = 0; i < N; ++i) {
    const size_t comma = value.find(',');
    const bool last = i + 1 == N;
    if (last != (comma == std::string_view::npos)) return std::nullopt;
    const auto number = ParseInt(value.substr(0, comma));
    if (!number) return std::nullopt;
    out[i] = *number;
    if (!last) value.remove_prefix(comma + 1);
  }
  return out;
}

}  // namespace

std::optional<int> ParseInt(std::string_view value) {
  value = Trim(value);
  if (!value.empty() && value.front() == '+') value.remove_prefix(1);
  int out = 0;
  const char* end = value.data() + value.size();
  const auto [ptr, ec] = std::from_chars(value.data(), end, out);
  if (value.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return out;
}

std::optional<bool> ParseBool(std::string_view value) {
  value = Trim(value);
  if (value == "true" || value == "1") return true;
  if (value == "false" || value == "0") return false;
  return std::nullopt;
}

std::optional<Rect> ParseRect(std::string_view value) {
  const auto v = ParseInts<4>(value);
  if (!v) return std::nullopt;
  return Rect{(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
}

std::optional<Size> ParseSize(std::string_view value) {
  const auto v = ParseInts<2>(value);
  if (!v) return std::nullopt;
  return Size{(*v)[0], (*v)[1]};
}

std::optional<Color> ParseColor(std::string_view value) {
  value = Trim(value);
  if (value.empty() || value.front() != '#') return std::nullopt;
  value.remove_prefix(1);
  if (value.size() != 6 && value.size() != 8) return std::nullopt;
  Color out = 0;
  const char* end = value.data() + value.size();
  const auto [ptr, ec] = std::from_chars(value.data(), end, out, 16);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value.size() == 6 ? (out | 0xFF000000) : out;
}

}  // namespace ui
