#pragma once
// Texts that the Windows program formatted into fixed buffers keep the
// buffers' limits here, without ever cutting a UTF-8 character in two.

#include <cstddef>
#include <string>
#include <string_view>

namespace telemetry {

// The longest prefix of `text` of at most `maxBytes` bytes that does not end
// inside a UTF-8 sequence.
std::string_view Utf8Prefix(std::string_view text, std::size_t maxBytes);

// head + field + tail in at most `maxBytes` bytes. The field, the one piece
// of unbounded length, gives way first; only when head and tail alone are
// too long is the whole text cut at its end.
std::string ComposeWithin(std::string_view head, std::string_view field, std::string_view tail,
                          std::size_t maxBytes);

}  // namespace telemetry
