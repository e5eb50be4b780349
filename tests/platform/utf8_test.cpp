#include "platform/utf8.h"

#include <gtest/gtest.h>

namespace {

using platform::FromUtf8;
using platform::ToUtf8;

TEST(Utf8, RoundTripsEveryPlane) {
  const std::wstring text = L"ascii \u00e4\u00df \u4e2d\u6587 \U0001F600 end";
  EXPECT_EQ(ToUtf8(text), "ascii \xC3\xA4\xC3\x9F \xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80 end");
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
  EXPECT_EQ(FromUtf8(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
}

TEST(Utf8, BadBytesBecomeReplacementCharacters) {
  struct Case {
    const char* what;
    std::string bytes;
    std::wstring text;
  };
  const Case cases[] = {
      {"lone continuation", "a\x80z", L"a\uFFFDz"},
      {"invalid lead", "\xFF\xFE", L"\uFFFD\uFFFD"},
      {"truncated at end", "ab\xE4\xB8", L"ab\uFFFD"},
      {"truncated before ascii", "\xE4\xB8x", L"\uFFFDx"},
      {"overlong", "\xC0\xAF", L"\uFFFD\uFFFD"},
      {"overlong three bytes", "\xE0\x80\xAF", L"\uFFFD\uFFFD\uFFFD"},
      {"surrogate", "\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},
      {"above U+10FFFF", "\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"},
  };
  for (const Case& c : cases) EXPECT_EQ(FromUtf8(c.bytes), c.text) << c.what;
}

TEST(Utf8, InvalidWideCharactersBecomeReplacementCharacters) {
  const std::wstring text{static_cast<wchar_t>(0xD800), L'x', static_cast<wchar_t>(0x110000)};
  EXPECT_EQ(ToUtf8(text), "\xEF\xBF\xBDx\xEF\xBF\xBD");
}

}  // namespace
