#include "config/CConfigure.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "fixtures/log_capture.h"
#include "fixtures/zip_bytes.h"
#include "ui/builder.h"
#include "ui/package.h"
#include "ui/paint_manager.h"

namespace {

// A window whose only controls are the configuration labels given.
class ConfigureLabels {
 public:
  explicit ConfigureLabels(const std::map<std::string, std::string>& labels) {
    std::string xml = "<VerticalLayout><VerticalLayout name=\"Product_config\">";
    for (const auto& [name, text] : labels) {
      xml += "<Label name=\"" + name + "\" text=\"" + text + "\"/>";
    }
    xml += "</VerticalLayout></VerticalLayout>";
    package_ = ui::Package::FromMemory(test::MakeZip({{"configure/configure.xml", xml}}), nullptr);
    std::string error;
    manager_.AttachRoot(ui::Build(*package_, "configure/configure.xml", &manager_, &error));
  }
  ui::PaintManager& manager() { return manager_; }

 private:
  std::shared_ptr<ui::Package> package_;
  ui::PaintManager manager_;
};

const std::map<std::string, std::string> kShipped = {
    {"Downloader_id", "180"},
    {"Software_id", "0"},
    {"Site_id", "93"},
    {"Language_id", "1033"},
    {"Software_name", "Brisko"},
    {"Software_version", "1.0.0.0"},
    {"Process_name", "Brisko.exe"},
    {"Download_url", "http://127.0.0.1:18080/downloads/brisko_setup.exe"},
    {"Extra_download_url", "http://127.0.0.1:18080/downloads/brisko_setup.exe"},
    {"Filesize", "73400320"},
    {"InstallTimeout", "600"},
};

std::map<std::string, std::string> With(std::map<std::string, std::string> labels,
                                        const std::string& name, const std::string& text) {
  labels[name] = text;
  return labels;
}

TEST(Configure, StartsWithTheInitialValues) {
  const CConfigure config(180, 1033, 93);
  EXPECT_EQ(config.loadState, 1);
  EXPECT_EQ(config.loadSource, 0);
  EXPECT_EQ(config.Downloader_id, 180);
  EXPECT_EQ(config.Language_id, 1033);
  EXPECT_EQ(config.Site_id, 93);
  EXPECT_EQ(config.Downloader_type, 3);
  EXPECT_EQ(config.Downloader_config, 0);
  EXPECT_EQ(config.InstallTimeout, 240);
  EXPECT_FALSE(config.answerXml.has_value());
}

TEST(Configure, LoadsTheLabelsOfTheLayout) {
  ConfigureLabels window(kShipped);
  CConfigure config(0, 0, 0);
  config.loadFromLayout(window.manager(), true);
  EXPECT_EQ(config.loadState, 2);
  EXPECT_EQ(config.loadSource, 2);
  EXPECT_EQ(config.Downloader_id, 180);
  EXPECT_EQ(config.Site_id, 93);
  EXPECT_EQ(config.Language_id, 1033);
  EXPECT_EQ(config.Software_name, L"Brisko");
  EXPECT_EQ(config.Software_version, L"1.0.0.0");
  EXPECT_EQ(config.Process_name, L"Brisko.exe");
  EXPECT_EQ(config.Filesize, 73400320);
  EXPECT_EQ(config.InstallTimeout, 600);
  EXPECT_EQ(config.Downloader_type, 1);
  EXPECT_EQ(config.Md5, L"");
}

TEST(Configure, InstallTimeoutWithoutANumberIsTwoHundredFortyTwo) {
  struct Case {
    const char* text;
    int seconds;
  };
  const Case cases[] = {{"0", 242}, {"", 242}, {"abc", 242}, {"600", 600}, {"30s", 30}};
  for (const Case& c : cases) {
    ConfigureLabels window(With(kShipped, "InstallTimeout", c.text));
    CConfigure config(0, 0, 0);
    config.loadFromLayout(window.manager(), false);
    EXPECT_EQ(config.InstallTimeout, c.seconds) << c.text;
  }
  ConfigureLabels missing({});
  CConfigure config(0, 0, 0);
  config.loadFromLayout(missing.manager(), false);
  EXPECT_EQ(config.InstallTimeout, 242);
  EXPECT_EQ(config.Downloader_id, 0);
  EXPECT_EQ(config.Software_name, L"");
}

TEST(Configure, CandidateUrlsAreListedOnlyWhenMarkedLoaded) {
  struct Case {
    const char* download;
    const char* extra;
    bool mark;
    std::vector<std::wstring> urls;
  };
  const Case cases[] = {
      {"http://a/p.exe", "http://a/p.exe", true, {L"http://a/p.exe", L"http://a/p.exe"}},
      {"http://cdn.a/p.exe", "http://b/dl.p.exe", true, {}},
      {"http://cdn.a/p.exe", "http://b/p.exe", true, {L"http://b/p.exe"}},
      {"", "http://b/p.exe", true, {L"http://b/p.exe"}},
      {"http://a/p.exe", "http://b/p.exe", false, {}},
  };
  for (const Case& c : cases) {
    ConfigureLabels window(With(With(kShipped, "Download_url", c.download), "Extra_download_url", c.extra));
    CConfigure config(0, 0, 0);
    config.loadFromLayout(window.manager(), c.mark);
    EXPECT_EQ(config.downloadUrls, c.urls) << c.download << " " << c.extra;
    EXPECT_EQ(config.loadState, c.mark ? 2 : 1);
  }
}

TEST(Configure, ResetKeepsWhatOnlyTheAnswerCarries) {
  ConfigureLabels window(With(kShipped, "Md5_extra", "abc"));
  CConfigure config(0, 0, 0);
  config.loadFromLayout(window.manager(), true);
  config.queryUrl = "http://update/queryDownloader";
  config.answerXml = "<Downloader/>";
  config.reset();
  EXPECT_EQ(config.loadState, 1);
  EXPECT_EQ(config.loadSource, 0);
  EXPECT_EQ(config.Filesize, 0);
  EXPECT_EQ(config.Software_name, L"");
  EXPECT_EQ(config.Download_url, L"");
  EXPECT_TRUE(config.downloadUrls.empty());
  EXPECT_EQ(config.Extra_download_url, L"http://127.0.0.1:18080/downloads/brisko_setup.exe");
  EXPECT_EQ(config.Md5_extra, L"abc");
  EXPECT_EQ(config.queryUrl, "http://update/queryDownloader");
  EXPECT_EQ(config.answerXml, "<Downloader/>");
  EXPECT_EQ(config.Downloader_id, 180);  // identity stays
}

TEST(Configure, PrintContentWritesOneLinePerField) {
  ConfigureLabels window(kShipped);
  CConfigure config(0, 0, 0);
  test::LogCapture log;
  config.printContent();
  config.loadFromLayout(window.manager(), true);
  config.printContent();
  const std::vector<std::string> lines = log.lines();
  ASSERT_EQ(lines.size(), 36u);
  EXPECT_EQ(lines[0], " Configure Load From Nothing! ");
  EXPECT_EQ(lines[18], " Configure Load From File! ");
  EXPECT_EQ(lines[19], " [File ContentLength]: 73400320");
  EXPECT_EQ(lines[20], " [Downloader Id]: 180");
  EXPECT_EQ(lines[24], " [Software Name]: Brisko");
  EXPECT_EQ(lines[26], " [Remote Path]: http://127.0.0.1:18080/downloads/brisko_setup.exe");
  EXPECT_EQ(lines[35], " [Downloader config]: 0");
}

}  // namespace
