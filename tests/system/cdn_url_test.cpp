// CDN and mirror URLs, in narrow and wide text.
#include <gtest/gtest.h>

#include "system/text_conversion.h"
#include "system/url_rules.h"

namespace {

TEST(CdnUrl, CdnOrDlAnywhereCaseSensitive) {
  struct Case {
    const char* url;
    bool cdn;
  };
  const Case cases[] = {
      {"https://cdn.brisko.example/a.exe", true},
      {"https://dl.brisko.example/a.exe", true},
      {"https://brisko.example/dl.files/a.exe", true},
      {"https://brisko.example/files/a.exe?mirror=cdn.", true},
      {"https://handl.example/a.exe", true},  // any "dl.", not only a host
      {"https://CDN.brisko.example/a.exe", false},
      {"https://DL.brisko.example/a.exe", false},
      {"https://cdnx.brisko.example/a.exe", false},
      {"https://brisko.example/download/a.exe", false},
      {"https://brisko.example/\xe7\xae\x80/a.exe", false},
      {"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(isCdnUrl(std::string(c.url)), c.cdn) << c.url;
    EXPECT_EQ(isCdnUrl(Utf8ToWide(c.url)), c.cdn) << c.url;
  }
}

TEST(CdnUrl, NonAsciiWideTextAroundTheMarker) {
  EXPECT_TRUE(isCdnUrl(std::wstring(L"https://\u7b80cdn.\u4f53/a")));
  EXPECT_FALSE(isCdnUrl(std::wstring(L"https://\u7b80cdn\u4f53/a")));
}

}  // namespace
