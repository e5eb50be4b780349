#pragma once
// The worker pool of one download round: the started workers, the idle ones
// (a stack: the last one added is the next one used) and the busy ones.
// Used by the driver thread only, and by the thread preparing the round
// before that.

#include <cstdint>
#include <memory>
#include <vector>

#include "download/CThread.h"

class CThreadManager {
 public:
  // How long stopping and releasing wait for each thread.
  static constexpr std::uint32_t kThreadExitWaitMs = 30000;

  virtual ~CThreadManager();
  CThreadManager(const CThreadManager&) = delete;
  CThreadManager& operator=(const CThreadManager&) = delete;

  // Workers started, 0 none; derived pools may add negative failures.
  virtual int createThreads(int count) = 0;

  // Moves every busy worker that has gone idle to the free list.
  void recycleThreads();
  // Takes the last free worker; null when none is free.
  CThread* getOneFreeThreads();
  // 1, or 0 when no worker is free.
  int giveTaskToAThreadTodo(CTask* task);
  // Stops the free workers and waits for their threads; the driver calls it
  // once no worker is busy.
  void stopThreads();
  bool hasFreeThread() const;
  bool hasBusyThread() const;
  // End of round: ends and frees every worker (and its libcurl handle) whose
  // thread has ended, empties the lists. A worker whose thread could not be
  // joined is never freed.
  void releaseThreads();
  // Waits until a worker has gone idle since the last wait, at most
  // `timeoutMs`; true when one did.
  bool waitForIdleWorker(std::uint32_t timeoutMs) { return idle_->Wait(timeoutMs); }

 protected:
  CThreadManager() = default;

  // What a worker sets when it goes idle; give it to the worker before its
  // thread starts.
  platform::AutoResetEvent* idleEvent() const { return idle_.get(); }

  // Takes a worker whose thread runs into the free list.
  void addStartedThread(std::unique_ptr<CThread> worker);
  int startedCount() const { return static_cast<int>(started_.size()); }
  // True once releaseThreads had to leave a thread running; what such a
  // thread uses must then outlive the pool (see KeepForever).
  bool threadsLeftRunning() const { return threadsLeftRunning_; }
  // Keeps `resource` until the process ends, for threads left running.
  static void KeepForever(std::shared_ptr<void> resource);

 private:
  // Shared: a thread left running may still set it after the pool is gone.
  std::shared_ptr<platform::AutoResetEvent> idle_ = std::make_shared<platform::AutoResetEvent>();
  std::vector<std::unique_ptr<CThread>> started_;  // owns the workers
  std::vector<CThread*> free_;
  std::vector<CThread*> busy_;
  bool threadsLeftRunning_ = false;
};
