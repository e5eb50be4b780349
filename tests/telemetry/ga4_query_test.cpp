#include "telemetry/ga4_query.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/utf8.h"
#include "telemetry/bounded_text.h"

namespace {

using telemetry::BuildGa4Query;
using telemetry::Ga4Dimensions;
using telemetry::kGa4QueryMaxBytes;

Ga4Dimensions SomeDimensions() {
  Ga4Dimensions d;
  d.toolsVersion = "1.0.0.1";
  d.channelClass = "SEO";
  d.siteName = "Organic";
  d.productName = "Brisko Studio";
  d.systemCountry = "Austria";
  d.systemLanguage = "German";
  d.osDescription = "Debian GNU/Linux 12 64bit";
  return d;
}

bool IsValidUtf8(const std::string& text) {
  return platform::ToUtf8(platform::FromUtf8(text)) == text;
}

TEST(Ga4Query, FillsTheFieldsInOrderAndPassesBytesUnencoded) {
  Ga4Dimensions d = SomeDimensions();
  d.productName = "Brisko Päck & Go";
  EXPECT_EQ(BuildGa4Query(d, "Download", "3.Downloading...", "First"),
            "&tid=G-Q3XK8WTZ5N&ep.cv_productname=Downloader&ep.cv_productversion=1.0.0.1"
            "&ep.cv_category=Download&ep.cv_action=3.Downloading...&ep.cv_label=First"
            "&en=3.Downloading..."
            "&ep.cd1=1.0.0.1&ep.cd2=SEO&ep.cd3=Organic&ep.cd4=Brisko Päck & Go"
            "&ep.cd5=Austria&ep.cd6=German&ep.cd7=Debian GNU/Linux 12 64bit&ep.cd8=1");
}

TEST(Ga4Query, KitFlagClearsCd8) {
  Ga4Dimensions d = SomeDimensions();
  d.kitFlag = true;
  const std::string query = BuildGa4Query(d, "PC", "SysOS", "");
  EXPECT_TRUE(query.ends_with("&ep.cd8=0")) << query;
}

TEST(Ga4Query, LongLabelIsShortenedAndTheRestStaysWhole) {
  const Ga4Dimensions d = SomeDimensions();
  const std::string withoutLabel = BuildGa4Query(d, "Other", "CDNInfor", "");
  const std::string tail = withoutLabel.substr(withoutLabel.find("&en="));
  struct Case {
    const char* what;
    std::string label;
  };
  const Case cases[] = {
      {"ASCII", std::string(5000, 'x')},
      {"two-byte characters", std::string(3000, 'x') +
                                  [] {
                                    std::string s;
                                    for (int i = 0; i < 1000; ++i) s += "é";
                                    return s;
                                  }()},
      {"four-byte characters",
       [] {
         std::string s;
         for (int i = 0; i < 1500; ++i) s += "😀";
         return s;
       }()},
  };
  for (const Case& c : cases) {
    const std::string query = BuildGa4Query(d, "Other", "CDNInfor", c.label);
    EXPECT_LE(query.size(), kGa4QueryMaxBytes) << c.what;
    EXPECT_GE(query.size(), kGa4QueryMaxBytes - 3) << c.what;
    EXPECT_TRUE(query.ends_with(tail)) << c.what;
    EXPECT_TRUE(IsValidUtf8(query)) << c.what;
    const std::size_t labelStart = query.find("&ep.cv_label=") + 13;
    const std::string kept = query.substr(labelStart, query.find("&en=") - labelStart);
    EXPECT_TRUE(c.label.starts_with(kept)) << c.what;
  }
}

TEST(Ga4Query, ALabelThatFitsIsKeptWhole) {
  const Ga4Dimensions d = SomeDimensions();
  const std::size_t room = kGa4QueryMaxBytes - BuildGa4Query(d, "Other", "Download", "").size();
  const std::string label(room, 'y');
  const std::string query = BuildGa4Query(d, "Other", "Download", label);
  EXPECT_EQ(query.size(), kGa4QueryMaxBytes);
  EXPECT_NE(query.find(label), std::string::npos);
  EXPECT_EQ(BuildGa4Query(d, "Other", "Download", label + "y").size(), kGa4QueryMaxBytes);
}

TEST(Ga4Query, OverlongFixedPartsCutTheWholeText) {
  Ga4Dimensions d = SomeDimensions();
  d.productName = std::string(5000, 'p');
  const std::string query = BuildGa4Query(d, "Download", "1.Launch", "First");
  EXPECT_EQ(query.size(), kGa4QueryMaxBytes);
  EXPECT_TRUE(query.starts_with("&tid=G-Q3XK8WTZ5N&"));
  EXPECT_NE(query.find("&ep.cv_label=&en=1.Launch&ep.cd1="), std::string::npos);
  EXPECT_TRUE(query.ends_with("ppppp"));
}

TEST(BoundedText, Utf8PrefixNeverSplitsACharacter) {
  const std::string text = "aé😀b";  // 1 + 2 + 4 + 1 bytes
  const std::size_t expected[] = {0, 1, 1, 3, 3, 3, 3, 7, 8, 8};
  for (std::size_t limit = 0; limit < std::size(expected); ++limit) {
    EXPECT_EQ(telemetry::Utf8Prefix(text, limit).size(), expected[limit]) << limit;
  }
}

}  // namespace
