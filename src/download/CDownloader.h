#pragma once
// One download round of one file: the task manager, the worker pool and a
// driver thread that hands tasks to idle workers, keeps the statistics and
// saves the task-information file as progress is made. The owner starts the
// round with state 1 and stops it with state 0; the driver also stops by
// itself when every task is done.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>

#include "download/CDownloadTaskManager.h"
#include "download/CDownloadThreadManager.h"
#include "download/download_info.h"
#include "platform/thread.h"

class CDownloader {
 public:
  static constexpr int kStop = 0;
  static constexpr int kRun = 1;
  static constexpr int kIdle = 2;

  CDownloader(std::string url, std::string packagePath, std::string taskInfoPath,
              int workerCount);
  // Stops the driver and waits for it when the owner has not.
  ~CDownloader();
  CDownloader(const CDownloader&) = delete;
  CDownloader& operator=(const CDownloader&) = delete;

  // Loads or generates the tasks and starts the workers; an EnumErrorCode.
  int downloadInit(int flag, const std::string& label);

  int state() const { return state_.load(); }
  void setState(int state);
  // Waits until the driver's state is kStop or the time is up; true when
  // stopped. Lets the owner watch without polling.
  bool waitUntilStopped(std::uint32_t timeoutMs);
  // Waits for the driver thread to end; true when it has.
  bool waitForDriver(std::uint32_t timeoutMs);

  int updateDownloadInfo();
  // A consistent copy of the last published record.
  DownloadInfo downloadInfo() const;
  bool started() const { return started_.load(); }

  std::string getCdnInfo() const;
  // End-of-round reset; waits for the driver thread's real end first.
  int downloadFinish();

  const CDownloadTaskManager& tasks() const { return tasks_; }

 private:
  void downloaderThread();
  bool allTasksDone() const;
  void dispatch();

  const std::string url_;
  const std::string packagePath_;
  const std::string taskInfoPath_;
  const int workerCount_;

  std::atomic<int> state_{kIdle};
  std::atomic<bool> started_{false};
  std::mutex stateMutex_;  // with stateChanged_, wakes waitUntilStopped
  std::condition_variable stateChanged_;

  mutable std::mutex infoMutex_;  // the record is replaced whole, never field by field
  DownloadInfo info_;

  CDownloadTaskManager tasks_;
  CDownloadThreadManager workers_;
  platform::Thread driver_;
};
