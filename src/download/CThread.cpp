#include "download/CThread.h"

#include <easylogging++.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

CThread::CThread() = default;

CThread::~CThread() { endThread(); }

int CThread::init() {
  if (!thread_.Start([this] { ThreadFunc(); })) {
    LOG(INFO) << "  creat thread error code =  " << errno;
    return 0;
  }
  return 1;
}

int CThread::doTask(CTask* task) {
  task_ = task;
  LOG(INFO) << " Tasks info, download begin, id = " << (task ? task->TaskId.load() : 0)
            << ", task status = " << (task ? task->TaskStatus.load() : 0)
            << ", thread status = " << state_.load();
  state_.store(kTaskGiven);
  wake_.Set();
  return 1;
}

int CThread::state() const { return state_.load(); }

void CThread::stop() {
  state_.store(kStop);
  wake_.Set();
}

bool CThread::join(std::uint32_t timeoutMs) {
  return !thread_.IsStarted() || thread_.Join(timeoutMs);
}

CTask* CThread::task() const { return task_; }

void CThread::endThread() {
  stop();
  join(platform::kInfinite);
}

void CThread::ThreadFunc() {
  const pid_t id = gettid();
  for (;;) {
    int current = state_.load();
    if (current == kIdle) {
      LOG(INFO) << " wait before thread " << id;
      wake_.Wait(platform::kInfinite);
      LOG(INFO) << " wait after thread " << id;
    } else if (current == kStop) {
      return;
    } else if (current == kTaskGiven) {
      taskBusiness();
      // A stop given during the task must survive the return to idle.
      state_.compare_exchange_strong(current, kIdle);
      if (idle_) idle_->Set();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}
