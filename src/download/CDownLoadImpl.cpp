// The supervised download round: runs one CDownloader round and watches it
// from the caller's thread.
#include "download/CDownLoadImpl.h"

#include <easylogging++.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "download/CDownloadThreadManager.h"
#include "download/CDownloader.h"
#include "download/download_progress.h"
#include "download/error_code.h"
#include "platform/system_facts.h"
#include "platform/utf8.h"
#include "system/url_rules.h"
#include "telemetry/SingleUserLog.h"

namespace {

constexpr std::uint32_t kDriverWaitMs = 180000;
constexpr std::uint64_t kStallLimitMs = 60000;
constexpr std::int64_t kSmallestPackage = 1048576;
// The watch loop sleeps on the driver's stop instead of spinning a core; the
// stall limit is measured on the statistics ticks, not on this pace.
constexpr std::uint32_t kWatchPaceMs = 20;

std::string MegabytesPerSecond(double value, const char* format) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

class Round {
 public:
  Round(CDownloader& driver, std::string& cdnInfo) : driver_(driver), cdnInfo_(cdnInfo) {}

  // Stops the driver unless it stopped by itself, waits for it and closes the round.
  void End() {
    if (driver_.state() != CDownloader::kStop) driver_.setState(CDownloader::kStop);
    if (!driver_.waitForDriver(kDriverWaitMs)) {
      LOG(INFO) << " SuperDownloadFile: the driver did not end within " << kDriverWaitMs << " ms";
    }
    cdnInfo_ = driver_.getCdnInfo();
    driver_.downloadFinish();
  }

 private:
  CDownloader& driver_;
  std::string& cdnInfo_;
};

std::int64_t FileSize(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
  return info.st_size;
}

}  // namespace

int CDownLoadImpl::SuperDownloadFile(const std::wstring& url, const std::wstring& path,
                                     std::string& cdnInfo, int /*flag*/,
                                     DownloadProgress* progress) {
  const std::string remote = platform::ToUtf8(url);
  const std::string package = platform::ToUtf8(path);
  const bool cdn = isCdnUrl(remote);
  const int workerCount = DownloadWorkerCount(platform::Facts().ProcessorCount());

  CDownloader driver(remote, package, package + ".xml", workerCount);
  Round round(driver, cdnInfo);
  const int prepared = driver.downloadInit(0, "Download");
  if (prepared != kDownloadOk) {
    round.End();
    return prepared;
  }

  driver.setState(CDownloader::kRun);
  CSingleUserLog::GetInstance().AddUserLog_funnelEx("Download", "SliceDownloading", "", "",
                                                     false, false);
  const std::int64_t remoteLength = driver.tasks().ContentLength;
  const std::int64_t taskCount = static_cast<std::int64_t>(driver.tasks().allTasks().size());
  std::uint64_t lastChangeTick = platform::Facts().TickCount();
  std::int64_t lastBytes = 0;
  double slowest = 102400.0;
  double fastest = 0.0;

  auto networkLost = [&] {
    LOG(INFO) << "network is  no  alive";
    round.End();
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    return kNoNetwork;
  };
  if (!platform::Facts().NetworkAlive()) return networkLost();

  for (;;) {
    const DownloadInfo info = driver.downloadInfo();
    if (info.downloaded > lastBytes) {
      if (info.tick > lastChangeTick) {
        const double seconds = static_cast<double>(info.tick - lastChangeTick) / 1000;
        const double speed = static_cast<double>(info.downloaded - lastBytes) / 1024 / 1024 / seconds;
        fastest = std::max(fastest, speed);
        slowest = std::min(slowest, speed);
      }
      lastBytes = info.downloaded;
      lastChangeTick = info.tick;
    } else if (info.tick >= lastChangeTick + kStallLimitMs) {
      LOG(INFO) << "too long no speed:";
      round.End();
      return kNoProgress;
    }
    if (cdn && info.requestTotal > 3 * taskCount) {
      LOG(INFO) << " ---cdn fail:" << info.requestTotal << " > 3 * " << taskCount;
      round.End();
      return kCdnTooManyRequests;
    }
    if (driver.state() == CDownloader::kStop) break;
    if (progress) progress->OnDownloadProgress(info.downloaded, remoteLength);
    if (!platform::Facts().NetworkAlive()) return networkLost();
    driver.waitUntilStopped(kWatchPaceMs);
  }

  round.End();
  const DownloadInfo last = driver.downloadInfo();
  if (last.downloaded < remoteLength) {
    LOG(INFO) << " lenth is error, less than remote file.";
    return kPackageShort;
  }
  const std::int64_t size = FileSize(package);
  if (size < kSmallestPackage) return kPackageMissing;
  if (!driver.started()) {
    if (progress) progress->OnDownloadProgress(remoteLength, remoteLength);
    return kDownloadOk;
  }
  const double average =
      static_cast<double>(static_cast<std::int64_t>(last.averageSpeed() / 1048576.0 * 100)) / 100;
  LOG(INFO) << " Average speed: " << MegabytesPerSecond(average, "%.1fMB/s");
  LOG(INFO) << " Download speed range " << MegabytesPerSecond(slowest, "%.1f MB/s") << " - "
            << MegabytesPerSecond(fastest, "%.1f MB/s");
  return kDownloadOk;
}
