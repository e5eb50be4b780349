#pragma once
// Conversions between wide text, UTF-8 and the "ANSI" code page. On Linux the
// ANSI code page is the locale's narrow encoding, which is UTF-8; invalid
// input bytes become U+FFFD instead of failing.

#include <string>

std::string WideToUtf8(const std::wstring& text);
std::wstring Utf8ToWide(const std::string& text);
std::string AnsiToUtf8(const std::string& text);
std::string WideToAnsi(const std::wstring& text);
