#include "Common/startup_entries.h"

#include <gtest/gtest.h>

#include "fixtures/zip_bytes.h"
#include "ui/package.h"

namespace {

std::string Configure(const std::string& labels) {
  return "<VerticalLayout><VerticalLayout name=\"Product_config\">" + labels +
         "</VerticalLayout></VerticalLayout>";
}

TEST(StartupEntries, KeepsTheEntriesStartUpNeeds) {
  const StartupEntries e = ParseStartupEntries(Configure(
      "<Label name=\"Downloader_id\" text=\"180\"/>"
      "<Label name=\"Site_id\" text=\"93\"/>"
      "<Label name=\"Software_name\" text=\"Brisko\"/>"
      "<Label name=\"MainPid\" text=\"3865\"/>"
      "<Label name=\"Support32System\" text=\"0\"/>"
      "<Label name=\"Download_url\" text=\"http://h/a/brisko_setup.exe\"/>"
      "<Label name=\"Extra_download_url\" text=\"http://h/b/other.exe\"/>"));
  EXPECT_EQ(e.downloaderIdText, L"180");
  EXPECT_EQ(e.downloaderId, 180);
  EXPECT_EQ(e.siteId, 93);
  EXPECT_EQ(e.softwareName, L"Brisko");
  EXPECT_EQ(e.mainPid, 3865);
  EXPECT_EQ(e.support32System, L"0");
  EXPECT_EQ(e.downloadUrl, L"http://h/a/brisko_setup.exe");
}

TEST(StartupEntries, FirstCandidateUrlInFileOrderWins) {
  struct Case {
    const char* labels;
    const wchar_t* url;
  };
  const Case cases[] = {
      {"<Label name=\"Download_url\" text=\"http://cdn.h/a.exe\"/>"
       "<Label name=\"Extra_download_url\" text=\"http://h/b.exe\"/>",
       L"http://h/b.exe"},
      {"<Label name=\"Extra_download_url\" text=\"http://h/b.exe\"/>"
       "<Label name=\"Download_url\" text=\"http://h/a.exe\"/>",
       L"http://h/b.exe"},
      {"<Label name=\"Download_url\" text=\"http://cdn.h/a.exe\"/>"
       "<Label name=\"Extra_download_url\" text=\"http://h/dl.b.exe\"/>",
       L""},
      {"<Label name=\"Download_url\" text=\"\"/>"
       "<Label name=\"Extra_download_url\" text=\"http://h/b.exe\"/>",
       L"http://h/b.exe"},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseStartupEntries(Configure(c.labels)).downloadUrl, c.url) << c.labels;
}

// Entries are positional: the first attribute names, the second holds the text.
TEST(StartupEntries, ReadsAttributesByPosition) {
  const StartupEntries e = ParseStartupEntries(Configure(
      "<Label key=\"Downloader_id\" value=\"77\"/>"
      "<Label text=\"93\" name=\"Site_id\"/>"
      "<Label name=\"Software_name\"/>"
      "<Label/>"
      "<Label name=\"MainPid\" text=\"abc\"/>"));
  EXPECT_EQ(e.downloaderId, 77);
  EXPECT_EQ(e.siteId, 0);  // "93" named an entry called "93"
  EXPECT_EQ(e.softwareName, L"");
  EXPECT_EQ(e.mainPid, 0);
}

TEST(StartupEntries, BadInputGivesEmptyValues) {
  const char* inputs[] = {"", "not xml at all", "<VerticalLayout>", "<VerticalLayout/>",
                          "<a><b><Label name=\"Downloader_id\" text=\"5\"></b></a>"};
  for (const char* input : inputs) {
    const StartupEntries e = ParseStartupEntries(input);
    EXPECT_EQ(e.downloaderIdText, L"") << input;
    EXPECT_EQ(e.downloaderId, 0) << input;
    EXPECT_EQ(e.downloadUrl, L"") << input;
  }
  EXPECT_EQ(ReadStartupEntries(nullptr).downloaderId, 0);
  const auto withoutConfigure = ui::Package::FromMemory(test::MakeZip({{"InstallMainWnd.xml", "<Window/>"}}), nullptr);
  ASSERT_TRUE(withoutConfigure);
  EXPECT_EQ(ReadStartupEntries(withoutConfigure.get()).downloaderIdText, L"");
}

}  // namespace
