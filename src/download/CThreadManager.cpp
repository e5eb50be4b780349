#include "download/CThreadManager.h"

#include <easylogging++.h>

#include <algorithm>
#include <mutex>

CThreadManager::~CThreadManager() { releaseThreads(); }

void CThreadManager::recycleThreads() {
  const auto idle = std::stable_partition(busy_.begin(), busy_.end(), [](const CThread* worker) {
    return worker->state() != CThread::kIdle;
  });
  free_.insert(free_.end(), idle, busy_.end());
  busy_.erase(idle, busy_.end());
}

CThread* CThreadManager::getOneFreeThreads() {
  if (free_.empty()) {
    LOG(INFO) << "is no free threads";
    return nullptr;
  }
  CThread* worker = free_.back();
  free_.pop_back();
  return worker;
}

int CThreadManager::giveTaskToAThreadTodo(CTask* task) {
  CThread* worker = getOneFreeThreads();
  if (!worker) {
    LOG(INFO) << "get free thread is null" << (task ? task->TaskId.load() : 0);
    return 0;
  }
  worker->doTask(task);
  busy_.push_back(worker);
  return 1;
}

void CThreadManager::stopThreads() {
  for (CThread* worker : free_) worker->stop();
  LOG(INFO) << " start wait threads exit";
  for (CThread* worker : free_) worker->join(kThreadExitWaitMs);
  LOG(INFO) << " end wait threads exit";
}

bool CThreadManager::hasFreeThread() const { return !free_.empty(); }

bool CThreadManager::hasBusyThread() const { return !busy_.empty(); }

void CThreadManager::releaseThreads() {
  // Busy workers too: each ends after its current request.
  for (const auto& worker : started_) worker->stop();
  for (auto& worker : started_) {
    if (worker->join(kThreadExitWaitMs)) continue;
    LOG(INFO) << " thread did not exit, worker kept";
    threadsLeftRunning_ = true;
    KeepForever(std::shared_ptr<CThread>(worker.release()));
  }
  if (threadsLeftRunning_) KeepForever(idle_);
  started_.clear();
  free_.clear();
  busy_.clear();
}

void CThreadManager::addStartedThread(std::unique_ptr<CThread> worker) {
  free_.push_back(worker.get());
  started_.push_back(std::move(worker));
}

void CThreadManager::KeepForever(std::shared_ptr<void> resource) {
  // Never destroyed, not even at exit: a thread left running may use these
  // until the process ends.
  static auto* const kept = new std::vector<std::shared_ptr<void>>;
  static std::mutex mutex;
  std::lock_guard lock(mutex);
  kept->push_back(std::move(resource));
}
