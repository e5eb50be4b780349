#include "download/CDownloader.h"

#include <easylogging++.h>

#include <chrono>
#include <thread>

#include "download/error_code.h"
#include "platform/system_facts.h"

namespace {

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Without a worker going idle the driver wakes this often to refresh the
// statistics and to see its state change.
constexpr std::uint32_t kQuietTurnMs = 50;

}  // namespace

CDownloader::CDownloader(std::string url, std::string packagePath, std::string taskInfoPath,
                         int workerCount)
    : url_(std::move(url)),
      packagePath_(std::move(packagePath)),
      taskInfoPath_(std::move(taskInfoPath)),
      workerCount_(workerCount),
      tasks_(url_, packagePath_, taskInfoPath_),
      workers_(packagePath_) {
  info_.tick = platform::Facts().TickCount();
  if (!driver_.Start([this] { downloaderThread(); })) {
    LOG(INFO) << " [Error]: the download driver thread could not be started";
  }
}

CDownloader::~CDownloader() {
  if (driver_.IsStarted()) {
    setState(kStop);
    driver_.Join(platform::kInfinite);
  }
}

void CDownloader::setState(int state) {
  {
    std::lock_guard<std::mutex> lock(stateMutex_);
    state_.store(state);
  }
  stateChanged_.notify_all();
}

bool CDownloader::waitUntilStopped(std::uint32_t timeoutMs) {
  std::unique_lock<std::mutex> lock(stateMutex_);
  return stateChanged_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                [this] { return state_.load() == kStop; });
}

bool CDownloader::waitForDriver(std::uint32_t timeoutMs) { return driver_.Join(timeoutMs); }

int CDownloader::downloadInit(int flag, const std::string& label) {
  const int loaded = tasks_.loadDownloadTask(flag, label);
  if (loaded != kDownloadOk) {
    LOG(INFO) << " [Error]: " << "error to loadDownloadTask";
    return loaded;
  }
  const int threads = workers_.createThreads(workerCount_);
  if (threads == -1) return kPackageNotOpened;
  if (threads == 0) {
    LOG(INFO) << " [Error]: " << " createThreads is empty";
    return kNoWorkerThread;
  }
  started_.store(false);
  return kDownloadOk;
}

int CDownloader::updateDownloadInfo() {
  const std::uint64_t now = platform::Facts().TickCount();
  std::int64_t downloaded = 0;
  std::int32_t requests = 0;
  for (const CTask* task : tasks_.allTasks()) {
    downloaded += task->DownloadedPos.load() - task->StartPos + 1;
    requests += task->RequestTimes.load();
  }
  std::lock_guard<std::mutex> lock(infoMutex_);
  if (now == info_.tick) return 1;
  tasks_.DownloadTime += static_cast<std::int64_t>(now - info_.tick);
  DownloadInfo next;
  next.tick = now;
  next.downloaded = downloaded;
  const std::int64_t length = tasks_.ContentLength;
  next.percent =
      length > 0 ? static_cast<std::int64_t>(static_cast<double>(downloaded) / length * 10000) /
                       100.0
                 : 0;
  next.elapsed = tasks_.DownloadTime;
  next.requestTotal = requests;
  info_ = next;
  return 1;
}

DownloadInfo CDownloader::downloadInfo() const {
  std::lock_guard<std::mutex> lock(infoMutex_);
  return info_;
}

bool CDownloader::allTasksDone() const {
  if (!tasks_.todoTasks().empty() || workers_.hasBusyThread()) return false;
  for (const CTask* task : tasks_.handedOutTasks()) {
    if (task->TaskStatus.load() != 1) return false;
  }
  return true;
}

void CDownloader::dispatch() {
  started_.store(true);
  updateDownloadInfo();
  while (!tasks_.todoTasks().empty() && workers_.hasFreeThread()) {
    workers_.giveTaskToAThreadTodo(tasks_.getTask());
  }
}

void CDownloader::downloaderThread() {
  int saves = 0;  // progress saves, one per 10 % passed
  for (;;) {
    const int state = state_.load();
    if (state == kIdle) {
      std::unique_lock<std::mutex> lock(stateMutex_);
      stateChanged_.wait_for(lock, std::chrono::milliseconds(kQuietTurnMs),
                             [this] { return state_.load() != kIdle; });
      continue;
    }
    if (state == kRun) {
      // Workers that finished since the last turn count before the end test.
      workers_.recycleThreads();
      if (downloadInfo().percent / 10 > saves) {
        ++saves;
        tasks_.saveTaskToFile();
      }
      if (allTasksDone()) {
        setState(kStop);
        SleepMs(100);
        LOG(INFO) << " Download will stop";
        continue;
      }
      dispatch();
    } else {
      if (!workers_.hasBusyThread()) break;
      workers_.recycleThreads();
      updateDownloadInfo();
    }
    // Every task is given or no worker is free: nothing to do until a
    // worker finishes.
    workers_.waitForIdleWorker(kQuietTurnMs);
  }

  for (const CTask* task : tasks_.allTasks()) {
    if (task->TaskStatus.load() != 1) {
      LOG(INFO) << " Stopping Download," << "Mission Failed";
      tasks_.saveTaskToFile();
      break;
    }
  }
  workers_.stopThreads();
  updateDownloadInfo();
  LOG(INFO) << " Stopping Download," << "Update DownloadInfo";
  tasks_.saveTaskToFile();
  LOG(INFO) << " Download Stopped！";
  stateChanged_.notify_all();
}

std::string CDownloader::getCdnInfo() const {
  std::string probeStatus;
  std::string statuses;
  for (const CTask* task : tasks_.handedOutTasks()) {
    probeStatus = task->probeCdnStatus;
    if (!task->cdnStatus.empty()) statuses += task->cdnStatus + ";";
  }
  return statuses.empty() ? std::string() : "T(" + probeStatus + ");C(" + statuses + ")";
}

int CDownloader::downloadFinish() {
  if (driver_.IsStarted() && !driver_.Join(0)) {
    LOG(INFO) << " downloadFinish: waiting for the driver thread to end";
    driver_.Join(platform::kInfinite);
  }
  workers_.releaseThreads();
  workers_.closePackageFile();
  tasks_.clearTasks();
  state_.store(kIdle);
  std::lock_guard<std::mutex> lock(infoMutex_);
  info_.tick = platform::Facts().TickCount();
  return 1;
}
