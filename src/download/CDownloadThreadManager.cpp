#include "download/CDownloadThreadManager.h"

#include <easylogging++.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "download/CDownloadThread.h"
#include "platform/utf8.h"
#include "system/process_control.h"
#include "telemetry/SingleUserLog.h"

namespace {

constexpr int kReopenAttempts = 50;  // about a second

// A write beyond the file-size limit would otherwise kill the process with
// SIGXFSZ; ignored, the write fails with EFBIG, the task fails with the bytes
// written so far and a later round resumes.
void IgnoreFileSizeSignal() {
  static std::once_flag once;
  std::call_once(once, [] { std::signal(SIGXFSZ, SIG_IGN); });
}

// Unbuffered, so every byte the write callback counts has reached the
// kernel: a process killed now never leaves the task information claiming
// bytes that were still in a stdio buffer.
std::FILE* OpenUnbuffered(const std::string& path, const char* mode) {
  std::FILE* file = std::fopen(path.c_str(), mode);
  if (file) std::setvbuf(file, nullptr, _IONBF, 0);
  return file;
}

}  // namespace

CDownloadThreadManager::CDownloadThreadManager(std::string packagePath)
    : packagePath_(std::move(packagePath)) {}

CDownloadThreadManager::~CDownloadThreadManager() { closePackageFile(); }

int CDownloadThreadManager::createThreads(int count) {
  IgnoreFileSizeSignal();
  if (!packageFile_ && !OpenPackageFile()) return -1;
  LOG(INFO) << " Create threads and init: " << count;
  for (int i = 0; i < count; ++i) {
    auto worker = std::make_unique<CDownloadThread>(packageFile_);
    worker->setIdleEvent(idleEvent());
    if (worker->init()) addStartedThread(std::move(worker));
  }
  return startedCount();
}

bool CDownloadThreadManager::OpenPackageFile() {
  const auto open = [this] {
    return OpenUnbuffered(packagePath_, localFileExists() ? "rb+" : "wb+");
  };
  packageFile_ = open();
  if (packageFile_) return true;
  int error = errno;
  LOG(INFO) << "local file is NULL error code = " << error;
  // The package is running as a program (an earlier run's installer).
  if (error == ETXTBSY) {
    FuntionImpl::FindProcessByFullPath(platform::FromUtf8(packagePath_), true, true);
    // A killed process lets go of its executable only once it has ended.
    for (int attempt = 0; attempt < kReopenAttempts; ++attempt) {
      packageFile_ = open();
      if (packageFile_) return true;
      error = errno;
      if (error != ETXTBSY) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  LOG(INFO) << "after kill local file is NULL error code = " << error;
  CSingleUserLog::GetInstance().AddUserLog("Other", "OpenFileErrCode",
                                           std::to_string(error).c_str(), false);
  return false;
}

bool CDownloadThreadManager::localFileExists() const {
  std::FILE* file = std::fopen(packagePath_.c_str(), "rb");
  if (!file) return false;
  std::fclose(file);
  return true;
}

void CDownloadThreadManager::closePackageFile() {
  releaseThreads();
  if (!packageFile_) return;
  if (threadsLeftRunning()) {
    KeepForever(std::shared_ptr<std::FILE>(packageFile_, &std::fclose));
  } else {
    std::fclose(packageFile_);
  }
  packageFile_ = nullptr;
}

int DownloadWorkerCount(unsigned processors) {
  return std::max(4, static_cast<int>(processors * 8 / 5));
}
