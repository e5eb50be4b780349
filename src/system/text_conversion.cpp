#include "system/text_conversion.h"

#include "platform/utf8.h"

std::string WideToUtf8(const std::wstring& text) { return platform::ToUtf8(text); }

std::wstring Utf8ToWide(const std::string& text) { return platform::FromUtf8(text); }

// Round-tripping repairs invalid sequences, as the Windows conversion through
// UTF-16 does.
std::string AnsiToUtf8(const std::string& text) {
  return platform::ToUtf8(platform::FromUtf8(text));
}

std::string WideToAnsi(const std::wstring& text) { return platform::ToUtf8(text); }
