#include "platform/auto_reset_event.h"

namespace platform {

void AutoResetEvent::Set() {
  std::lock_guard lock(mutex_);
  set_ = true;
  changed_.notify_one();
}

bool AutoResetEvent::Wait(std::uint32_t timeoutMs) {
  std::unique_lock lock(mutex_);
  if (!WaitWithTimeout(changed_, lock, timeoutMs, [this] { return set_; })) return false;
  set_ = false;
  return true;
}

}  // namespace platform
