#include "config/download_info_query.h"

#include <gtest/gtest.h>

namespace {

Endpoints Hosts() {
  Endpoints e;
  e.updateServer = "https://update.example";
  e.updateServerChina = "https://update.example.cn";
  return e;
}

TEST(DownloadInfoQuery, HostFollowsTheEnvironmentAndTheSite) {
  struct Case {
    int siteId;
    bool olderThanWindows10;
    bool testEnvironment;
    const char* url;
    const char* flavour;
  };
  const Case cases[] = {
      {93, false, false, "https://update.example.cn/queryDownloader?LanguageId=1033&SoftWareID=180&SiteID=93", "cn"},
      {290, false, false, "https://update.example.cn/queryDownloader?LanguageId=1033&SoftWareID=180&SiteID=290", "cn"},
      {94, false, false, "https://update.example/queryDownloader?LanguageId=1033&SoftWareID=180&SiteID=94", "com"},
      {93, false, true, "http://update.example/queryDownloader?LanguageId=1033&SoftWareID=180&SiteID=93", "test"},
      {94, true, false,
       "https://update.example/queryDownloader?LanguageId=1033&SoftWareID=180&SiteID=94&package_type=5", "com"},
  };
  for (const Case& c : cases) {
    const DownloadInfoQuery query = MakeDownloadInfoQuery(1033, 180, c.siteId, c.olderThanWindows10,
                                                          c.testEnvironment, Hosts());
    EXPECT_EQ(query.url, c.url);
    EXPECT_EQ(query.flavour, c.flavour);
  }
}

TEST(DownloadInfoQuery, TheUrlIsCutAt511Characters) {
  Endpoints e = Hosts();
  e.updateServer = "https://" + std::string(600, 'h');
  EXPECT_EQ(MakeDownloadInfoQuery(1, 2, 3, false, false, e).url.size(), 511u);
}

// A local test server keeps its scheme in the test environment.
TEST(DownloadInfoQuery, APlainHttpHostStaysAsItIs) {
  Endpoints e = Hosts();
  e.updateServer = "http://127.0.0.1:18081";
  EXPECT_EQ(MakeDownloadInfoQuery(1, 2, 3, false, true, e).url,
            "http://127.0.0.1:18081/queryDownloader?LanguageId=1&SoftWareID=2&SiteID=3");
}

TEST(DownloadInfoQuery, TheAnswerIsTheDownloaderElement) {
  struct Case {
    const char* body;
    std::optional<std::string> element;
  };
  const Case cases[] = {
      {"<?xml version=\"1.0\"?><Downloader><Md5>a</Md5></Downloader>\n",
       "<Downloader><Md5>a</Md5></Downloader>"},
      {"junk<Downloader></Downloader>junk</Downloader>", "<Downloader></Downloader>"},
      {"<Downloader><Md5>a</Md5>", std::nullopt},
      {"</Downloader><Downloader>", std::nullopt},
      {"", std::nullopt},
      {"<downloader></downloader>", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ExtractDownloaderElement(c.body), c.element) << c.body;
}

}  // namespace
