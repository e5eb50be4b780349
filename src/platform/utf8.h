// UTF-8 <-> wide text at the edges of the platform layer. The API speaks
// std::wstring like the Windows program; Linux speaks UTF-8 bytes.
//
// Linux: wchar_t is 32 bits, one code point per element (Windows: UTF-16).
// Neither direction fails: a malformed UTF-8 sequence becomes one U+FFFD per
// maximal bad subpart, and a wchar_t that is no Unicode scalar value
// (surrogate, > U+10FFFF) is written as U+FFFD.
#pragma once

#include <string>

namespace platform {

std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

}  // namespace platform
