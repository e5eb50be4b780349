#pragma once
// Decimal conversion in the manner of atoi: optional leading blanks and sign,
// then the leading digits; 0 when there are none. Out-of-range values are
// clamped instead of being undefined as with atoi.

#include <cstdint>
#include <string>
#include <string_view>

std::int64_t AtoI64(std::string_view text);
int AtoI(std::string_view text);
int AtoI(const std::wstring& text);
