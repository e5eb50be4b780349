#include "Common/number_template.h"

#include <gtest/gtest.h>

namespace {

TEST(NumberTemplate, FormatsOneNumberAndPassesAnythingElseThrough) {
  struct Case {
    const wchar_t* format;
    double value;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"{c #1E6FD9}%0.f%%{/c} completed", 42, L"{c #1E6FD9}42%{/c} completed"},
      {L"%0.f%%", 0, L"0%"},
      {L"Space available : %.1fGB", 12.345, L"Space available : 12.3GB"},
      {L"[%-6.2f]", 1.5, L"[1.50  ]"},
      {L"100%%", 7, L"100%"},
      {L"no number", 7, L"no number"},
      // Directives that would read another argument type or a second one
      // stay as they are instead of reaching swprintf.
      {L"%s crashes", 7, L"%s crashes"},
      {L"%d%%", 7, L"%d%%"},
      {L"%n", 7, L"%n"},
      {L"%.1f of %.1f", 7, L"%.1f of %.1f"},
      {L"%999f", 7, L"%999f"},
      {L"%.999f", 7, L"%.999f"},
      {L"50%", 7, L"50%"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatNumberTemplate(c.format, c.value), c.expected) << c.format;
  }
}

TEST(NumberTemplate, TheWidestAllowedFormatOfAHugeNumberFits) {
  const std::wstring text = FormatNumberTemplate(L"%99.99f", 1e308);
  EXPECT_EQ(text.size(), 309u + 1u + 99u);
}

}  // namespace
