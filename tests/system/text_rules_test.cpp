// Decimal conversion, text conversion and the package URL rules.
#include <gtest/gtest.h>

#include <limits>

#include "system/decimal.h"
#include "system/text_conversion.h"
#include "system/url_rules.h"

namespace {

TEST(Decimal, ConvertsLikeAtoi) {
  struct Case {
    const char* text;
    std::int64_t value;
  };
  const Case cases[] = {
      {"600", 600}, {"0", 0},     {"", 0},          {"abc", 0},   {"12abc", 12},
      {"  42", 42}, {"-7", -7},   {"+5", 5},        {"- 5", 0},   {"1.5", 1},
      {"0x10", 0},  {"007", 7},   {"99999999999999999999999", std::numeric_limits<std::int64_t>::max()},
      {"-99999999999999999999999", std::numeric_limits<std::int64_t>::min()},
      {"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
      {"-9223372036854775808", std::numeric_limits<std::int64_t>::min()},
  };
  for (const Case& c : cases) EXPECT_EQ(AtoI64(c.text), c.value) << c.text;
  EXPECT_EQ(AtoI("99999999999"), std::numeric_limits<int>::max());
  EXPECT_EQ(AtoI(std::wstring(L"\x2460 5")), 0);  // a non-ASCII digit is no digit
}

TEST(TextConversion, RoundTripsAndRepairs) {
  const std::wstring text = L"Brisko \u7b80\u4f53 \u0627\u0644\u0639 \U0001F600";
  EXPECT_EQ(Utf8ToWide(WideToUtf8(text)), text);
  EXPECT_EQ(WideToAnsi(text), WideToUtf8(text));
  EXPECT_EQ(Utf8ToWide(""), L"");
  EXPECT_EQ(AnsiToUtf8("ok\xff"), "ok\xEF\xBF\xBD");
}

TEST(UrlRules, CandidatesNameNoCdn) {
  struct Case {
    const wchar_t* url;
    bool candidate;
  };
  const Case cases[] = {
      {L"http://127.0.0.1/downloads/brisko_setup.exe", true},
      {L"https://cdn.example.com/a.exe", false},
      {L"https://example.com/dl.files/a.exe", false},
      {L"https://CDN.example.com/a.exe", true},  // case-sensitive
      {L"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsCandidateUrl(c.url), c.candidate) << c.url;
}

TEST(UrlRules, PackageNamesAndStems) {
  struct Case {
    const wchar_t* url;
    const wchar_t* name;
    const wchar_t* stem;
  };
  const Case cases[] = {
      {L"http://h/downloads/brisko_setup.exe", L"brisko_setup", L"brisko_setup"},
      {L"http://h/d/brisko.v2.setup.exe", L"brisko", L"brisko.v2.setup"},
      {L"http://h/d/noext", L"", L"noext"},
      {L"http://h/d/", L"", L""},
      {L"nourl.exe", L"", L"nourl.exe"},
      {L"", L"", L""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PackageNameOfUrl(c.url), c.name) << c.url;
    EXPECT_EQ(PackageStemOfUrl(c.url), c.stem) << c.url;
  }
  struct ExeCase {
    const wchar_t* text;
    bool exe;
  };
  const ExeCase exeCases[] = {{L"http://h/a.exe", true}, {L"setup.exe", true}, {L"abc", true},
                              {L"", true},              {L"abcd", false},      {L"a.EXE", false},
                              {L"http://h/a.apk", false}, {L".exe", true},   {L"a.exe ", false}};
  for (const ExeCase& c : exeCases) EXPECT_EQ(IsExeName(c.text), c.exe) << c.text;
}

}  // namespace
