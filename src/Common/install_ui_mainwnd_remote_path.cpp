// Main window: choosing the package source, by kind or by a speed test.
#include <easylogging++.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "Common/install_ui_mainwnd.h"
#include "download/CDownloader.h"
#include "download/error_code.h"
#include "platform/utf8.h"
#include "platform/wait.h"
#include "system/url_rules.h"

namespace {

constexpr int kTrialWorkers = 3;
constexpr int kTrialSeconds = 4;

void DeleteTrialFiles(const std::string& trial, const std::string& trialInfo) {
  std::error_code ignored;
  std::filesystem::remove(trial, ignored);
  std::filesystem::remove(trialInfo, ignored);
}

}  // namespace

std::wstring InstallUIMainWnd::checkRemotePath(std::vector<std::wstring> urls, int mode) {
  const bool forbidCdn = isForbidCDN();
  LOG(INFO) << " isForbidCDN: " << (forbidCdn ? 1 : 0);
  int bestIndex = -1;
  std::int64_t bestBytes = 0;
  const int count = static_cast<int>(urls.size());
  for (int index = 0; index < count; ++index) {
    const std::wstring& url = urls[index];
    const bool cdn = isCdnUrl(url);
    if (mode == 1 || mode == 2) {
      if (cdn == (mode == 2)) {
        LOG(INFO) << " UrlUsed: " << platform::ToUtf8(url);
        return url;
      }
      continue;
    }
    std::wstring directory;
    if (!MakeWorkDirectory(directory)) return L"";
    const std::string trial = platform::ToUtf8(directory + L"temp");
    const std::string trialInfo = trial + ".xml";
    if (cdn && forbidCdn) continue;
    {
      CDownloader driver(platform::ToUtf8(url), trial, trialInfo, kTrialWorkers);
      if (driver.downloadInit(0, cdn ? "TestSpeedCdn" : "TestSpeedService") != kDownloadOk) {
        driver.setState(CDownloader::kStop);
        driver.waitForDriver(platform::kInfinite);
        driver.downloadFinish();
        DeleteTrialFiles(trial, trialInfo);
        continue;
      }
      driver.setState(CDownloader::kRun);
      for (int second = 1; second <= kTrialSeconds; ++second) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        PostProgress(static_cast<int>((index * 10 + second * 2.5) / count));
      }
      const std::int64_t bytes = driver.downloadInfo().downloaded;
      LOG(INFO) << " UrlDownloaded " << index << " " << bytes;
      if (bytes > bestBytes) {
        bestBytes = bytes;
        bestIndex = index;
      }
      driver.setState(CDownloader::kStop);
      driver.waitForDriver(platform::kInfinite);
      driver.downloadFinish();  // closes the trial package before it is deleted
    }
    DeleteTrialFiles(trial, trialInfo);
    PostProgress((index + 1) * 10 / count);
  }
  if (bestIndex == -1) {
    LOG(INFO) << " checkRemotePath fail: " << -1;
    return L"";
  }
  LOG(INFO) << " UrlUsed: " << platform::ToUtf8(urls[bestIndex]);
  return urls[bestIndex];
}
