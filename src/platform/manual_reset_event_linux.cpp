#include "platform/manual_reset_event.h"

#include "platform/named_objects.h"

namespace platform {

std::shared_ptr<ManualResetEvent> ManualResetEvent::Open(const std::wstring& name,
                                                         bool initiallySet) {
  return OpenNamedObject<ManualResetEvent>(name, [initiallySet] {
    return std::shared_ptr<ManualResetEvent>(new ManualResetEvent(initiallySet));
  });
}

void ManualResetEvent::Set() {
  std::lock_guard lock(mutex_);
  set_ = true;
  changed_.notify_all();
}

void ManualResetEvent::Reset() {
  std::lock_guard lock(mutex_);
  set_ = false;
}

bool ManualResetEvent::Wait(std::uint32_t timeoutMs) {
  std::unique_lock lock(mutex_);
  return WaitWithTimeout(changed_, lock, timeoutMs, [this] { return set_; });
}

bool ManualResetEvent::IsSet() const {
  std::lock_guard lock(mutex_);
  return set_;
}

}  // namespace platform
