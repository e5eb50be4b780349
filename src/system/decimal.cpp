#include "system/decimal.h"

#include <limits>

#include "system/text_conversion.h"

std::int64_t AtoI64(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr std::uint64_t kMax = std::numeric_limits<std::int64_t>::max();
  const std::uint64_t limit = negative ? kMax + 1 : kMax;
  std::uint64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const unsigned digit = static_cast<unsigned>(text[i] - '0');
    if (value > (limit - digit) / 10) {
      value = limit;
      break;
    }
    value = value * 10 + digit;
  }
  if (!negative) return static_cast<std::int64_t>(value);
  return value == kMax + 1 ? std::numeric_limits<std::int64_t>::min()
                           : -static_cast<std::int64_t>(value);
}

int AtoI(std::string_view text) {
  const std::int64_t v = AtoI64(text);
  if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

int AtoI(const std::wstring& text) { return AtoI(WideToAnsi(text)); }
