#pragma once
// Reading HTTP header text: one line from the header callback, or the
// several lines a length probe collects.

#include <cstdint>
#include <string_view>

namespace header_text {

// Where the header line named `name` starts, in any case (HTTP/2 sends
// lower case) and only at a line start ("Content-Location:" is no
// "Location:"); npos when there is none.
std::size_t FindName(std::string_view text, std::string_view name);
// Where the line holding `from` ends: its CR or LF, or the text's end.
std::size_t LineEnd(std::string_view text, std::size_t from);
// From `from` to the line end, as it stands.
std::string_view RawValue(std::string_view text, std::size_t from);
// The same without leading blanks.
std::string_view Value(std::string_view text, std::size_t from);
// The leading decimal digits; 0 when there are none or they overflow.
std::int64_t LeadingNumber(std::string_view text);

}  // namespace header_text
