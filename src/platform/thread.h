// A worker thread with a timed join, standing in for _beginthreadex plus
// WaitForSingleObject(thread, timeout) and CloseHandle.
//
// Linux differences: there is no TerminateThread; a thread still running
// when its Thread object is destroyed is detached and runs on (Windows would
// merely close the handle, the same effect). The body must then not touch
// the Thread object nor anything destroyed with it. An exception leaving the
// body ends the process, as an unhandled one does on Windows.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

#include "platform/wait.h"

namespace platform {

class Thread {
 public:
  Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;
  ~Thread();

  // Runs `body` on a new thread; false when already started or the system
  // refuses a new thread. A Thread is started once.
  bool Start(std::function<void()> body);
  // True when the thread has ended (it is then joined), false when it runs
  // on after `timeoutMs` (kInfinite: no limit, 0: poll) or was never started.
  // May be called again after a timeout. Join, like the destructor, belongs
  // to the thread that owns this object.
  bool Join(std::uint32_t timeoutMs);
  bool IsStarted() const;
  bool IsRunning() const;

 private:
  struct Completion;

  std::shared_ptr<Completion> completion_;  // shared with the body
  std::thread thread_;
};

}  // namespace platform
