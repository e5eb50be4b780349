// An unnamed auto-reset event of this process, standing in for
// CreateEvent(nullptr, FALSE, FALSE, nullptr) / SetEvent / WaitForSingleObject:
// a Set while nobody waits is kept for the next Wait, so no signal is lost,
// and each successful Wait consumes it.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "platform/wait.h"

namespace platform {

class AutoResetEvent {
 public:
  AutoResetEvent() = default;
  AutoResetEvent(const AutoResetEvent&) = delete;
  AutoResetEvent& operator=(const AutoResetEvent&) = delete;

  // Releases one waiter, or the next one to come.
  void Set();
  // True when signalled (the signal is then used up), false after
  // `timeoutMs` (kInfinite: no limit, 0: poll).
  bool Wait(std::uint32_t timeoutMs);

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool set_ = false;
};

}  // namespace platform
