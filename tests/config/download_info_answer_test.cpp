// Merging the update server's answer into the configuration record.
#include <gtest/gtest.h>

#include "config/CConfigure.h"

#include <functional>

namespace {

// A record as the embedded file leaves it, before any answer.
CConfigure Embedded() {
  CConfigure config(180, 1033, 93);
  config.Software_id = 4;
  config.Software_name = L"Brisko";
  config.Software_version = L"1.0.0.0";
  config.Download_url = L"http://h/a.exe";
  config.Extra_download_url = L"http://h/b.exe";
  config.Filesize = 100;
  return config;
}

bool Merge(CConfigure& config, const std::string& children) {
  config.answerXml = "<Downloader>" + children + "</Downloader>";
  return config.parseDownloadInfoXml();
}

TEST(DownloadInfoAnswer, AnAnswerWithOneFieldChangesOnlyThatField) {
  CConfigure config = Embedded();
  ASSERT_TRUE(Merge(config, "<Md5>0123456789abcdef0123456789abcdef</Md5>"));
  EXPECT_EQ(config.Md5, L"0123456789abcdef0123456789abcdef");
  EXPECT_EQ(config.Software_name, L"Brisko");
  EXPECT_EQ(config.Software_id, 4);
  EXPECT_EQ(config.Filesize, 100);
  EXPECT_EQ(config.loadState, 2);
  EXPECT_EQ(config.loadSource, 1);
  EXPECT_EQ(config.downloadUrls, (std::vector<std::wstring>{L"http://h/a.exe", L"http://h/b.exe"}));
}

TEST(DownloadInfoAnswer, ConversionsFollowTheFieldType) {
  struct Case {
    const char* children;
    std::function<void(const CConfigure&)> check;
  };
  const Case cases[] = {
      {"<Software_id>abc</Software_id>", [](const CConfigure& c) { EXPECT_EQ(c.Software_id, 4); }},
      {"<Software_id>105x</Software_id>", [](const CConfigure& c) { EXPECT_EQ(c.Software_id, 105); }},
      {"<Filesize>5368709120</Filesize>", [](const CConfigure& c) { EXPECT_EQ(c.Filesize, 5368709120); }},
      {"<Filesize>lots</Filesize>", [](const CConfigure& c) { EXPECT_EQ(c.Filesize, 100); }},
      {"<Download_url>http://h/\r\nnew.exe\n</Download_url>",
       [](const CConfigure& c) { EXPECT_EQ(c.Download_url, L"http://h/new.exe"); }},
      {"<Extra_download_url>\nhttp://h/x.apk</Extra_download_url>",
       [](const CConfigure& c) { EXPECT_EQ(c.Extra_download_url, L"http://h/x.apk"); }},
      {"<Process_name>Brisko\r\n.exe</Process_name>",
       [](const CConfigure& c) { EXPECT_EQ(c.Process_name, L"Brisko.exe"); }},
      {"<Install_url>a\nb</Install_url>", [](const CConfigure& c) { EXPECT_EQ(c.Install_url, L"a\nb"); }},
      {"<Software_name/>", [](const CConfigure& c) { EXPECT_EQ(c.Software_name, L""); }},
      {"<Software_name>\xE7\xAE\x80\xE4\xBD\x93</Software_name>",
       [](const CConfigure& c) { EXPECT_EQ(c.Software_name, L"\u7b80\u4f53"); }},
      {"<Md5>a</Md5><Md5>b</Md5>", [](const CConfigure& c) { EXPECT_EQ(c.Md5, L"b"); }},
      {"<Unknown>1</Unknown><!-- note -->text<InstallTimeout>9</InstallTimeout>",
       [](const CConfigure& c) { EXPECT_EQ(c.InstallTimeout, 240); }},
      {"<Downloader_type>2</Downloader_type><Downloader_config>1</Downloader_config>",
       [](const CConfigure& c) {
         EXPECT_EQ(c.Downloader_type, 2);
         EXPECT_EQ(c.Downloader_config, 1);
       }},
  };
  for (const Case& c : cases) {
    CConfigure config = Embedded();
    ASSERT_TRUE(Merge(config, c.children)) << c.children;
    c.check(config);
  }
}

// The name field holds 259 UTF-16 code units; a character outside the Basic
// Multilingual Plane takes two and is never split.
TEST(DownloadInfoAnswer, LongNamesAreCutAtWholeCharacters) {
  CConfigure config = Embedded();
  ASSERT_TRUE(Merge(config, "<Software_name>" + std::string(300, 'n') + "</Software_name>"));
  EXPECT_EQ(config.Software_name, std::wstring(259, L'n'));

  std::string emoji;
  for (int i = 0; i < 130; ++i) emoji += "\xF0\x9F\x98\x80";  // U+1F600
  ASSERT_TRUE(Merge(config, "<Software_name>" + emoji + "</Software_name>"));
  EXPECT_EQ(config.Software_name.size(), 129u);
}

TEST(DownloadInfoAnswer, WhatCannotBeMergedLeavesTheRecordNotLoaded) {
  const std::optional<std::string> answers[] = {std::nullopt, "", "not xml", "<Downloader>",
                                                "<!-- only a comment -->"};
  for (const auto& answer : answers) {
    CConfigure config = Embedded();
    config.loadState = 2;
    config.answerXml = answer;
    EXPECT_FALSE(config.parseDownloadInfoXml()) << answer.value_or("(none)");
    EXPECT_EQ(config.loadState, 1);
    EXPECT_EQ(config.Software_name, L"Brisko");
  }
}

TEST(DownloadInfoAnswer, CandidateUrlsAreAppendedToTheList) {
  CConfigure config = Embedded();
  config.downloadUrls = {L"http://earlier/p.exe"};
  ASSERT_TRUE(Merge(config, "<Download_url>http://cdn.h/p.exe</Download_url>"
                            "<Extra_download_url>http://h/p.exe</Extra_download_url>"));
  EXPECT_EQ(config.downloadUrls, (std::vector<std::wstring>{L"http://earlier/p.exe", L"http://h/p.exe"}));
}

}  // namespace
