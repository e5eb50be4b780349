#ifndef UI_UTF_H_
#define UI_UTF_H_

#include <string>
#include <string_view>

namespace ui {

// Conversions at the edges between UTF-8 (files, GTK, pango) and the wide
// strings of the API (UTF-32 on Linux). Invalid input becomes U+FFFD rather
// than being dropped, so nothing silently disappears from a text.
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

// Appends one code point as UTF-8; invalid code points become U+FFFD.
void AppendUtf8(std::string& out, char32_t code_point);

}  // namespace ui

#endif  // UI_UTF_H_
