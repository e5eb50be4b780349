// UTF-8 <-> wide text at the edges of the platform layer. The API speaks
// std::wstring like the Windows program; Linux speaks UTF-8 bytes.
//
// Linux: wchar_t is 32 bits, one code point per element (Windows: UTF-16).
// Neither direction fails: a malformed UTF-8 sequence becomes one U+FFFD per
// maximal bad subpart, and a wchar_t that is no Unicode scalar value
// (surrogate, > U+10FFFF) is written as U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);

}  // namespace platform
