// Case-insensitive name comparison, as the profile API and the registry
// compare section, key and value names.
//
// Linux: simple Unicode case folding per code point (GLib), independent of
// the process locale; Windows compares with its own upper-case table.
#pragma once

#include <string_view>

namespace platform {

bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b);

}  // namespace platform
