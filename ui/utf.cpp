#include "ui/utf.h"

namespace ui {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

bool IsValidCodePoint(char32_t c) {
  return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

// Decodes the sequence at `s[i]`, advancing `i` past it (by one byte when the
// sequence is invalid, so the following bytes get their own chance).
char32_t DecodeOne(std::string_view s, size_t& i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  int length = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    ++i;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, value = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, value = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, value = lead & 0x07, minimum = 0x10000;
  } else {
    ++i;
    return kReplacement;
  }
  if (s.size() - i < static_cast<size_t>(length)) {
    ++i;
    return kReplacement;
  }
  for (int k = 1; k < length; ++k) {
    const auto c = static_cast<unsigned char>(s[i + k]);
    if (!IsContinuation(c)) {
      ++i;
      return kReplacement;
    }
    value = (value << 6) | (c & 0x3F);
  }
  if (value < minimum || !IsValidCodePoint(value)) {
    ++i;
    return kReplacement;
  }
  i += length;
  return value;
}

}  // namespace

std::wstring Utf8ToWide(std::string_view utf8) {
  std::wstring out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    out.push_back(static_cast<wchar_t>(DecodeOne(utf8, i)));
  }
  return out;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (!IsValidCodePoint(c)) c = kReplacement;
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::string WideToUtf8(std::wstring_view wide) {
  std::string out;
  out.reserve(wide.size());
  for (wchar_t c : wide) AppendUtf8(out, static_cast<char32_t>(c));
  return out;
}

}  // namespace ui
