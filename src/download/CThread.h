#pragma once
// A long-lived worker thread that runs one task at a time for the pool. The
// driver gives it a task (state 1), the thread runs taskBusiness and goes
// idle again (state 2); state 0 ends the thread. An idle thread sleeps on
// its wake event rather than polling.

#include <atomic>
#include <cstdint>

#include "download/CTask.h"
#include "platform/auto_reset_event.h"
#include "platform/thread.h"

class CThread {
 public:
  static constexpr int kStop = 0;
  static constexpr int kTaskGiven = 1;
  static constexpr int kIdle = 2;

  CThread();
  // Ends the thread first (see endThread).
  virtual ~CThread();
  CThread(const CThread&) = delete;
  CThread& operator=(const CThread&) = delete;

  // The job for the current task, on the worker thread.
  virtual int taskBusiness() = 0;

  // Starts the thread; 1 ok, 0 failed.
  int init();
  // Stores the task, state 1, wakes the thread; 1.
  int doTask(CTask* task);
  int state() const;
  // State 0 and wake: an idle thread ends at once, a busy one after its task.
  void stop();
  // True when the thread has ended (or never started).
  bool join(std::uint32_t timeoutMs);
  CTask* task() const;
  // Set whenever this worker goes idle after a task; not owned.
  void setIdleEvent(platform::AutoResetEvent* idle) { idle_ = idle; }

 protected:
  // Stops the thread and waits for its end without limit. A derived class
  // whose taskBusiness uses its own members calls this in its destructor,
  // before those members go.
  void endThread();

 private:
  void ThreadFunc();

  std::atomic<int> state_{kIdle};
  CTask* task_ = nullptr;  // written before the state change that publishes it

  // A wake given while the thread is not waiting is kept for its next wait.
  platform::AutoResetEvent wake_;
  platform::AutoResetEvent* idle_ = nullptr;

  platform::Thread thread_;
};
