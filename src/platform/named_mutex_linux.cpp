#include "platform/named_mutex.h"

#include <easylogging++.h>

#include "platform/named_objects.h"

namespace platform {

std::shared_ptr<NamedMutex> NamedMutex::Open(const std::wstring& name) {
  return OpenNamedObject<NamedMutex>(name, [] { return std::shared_ptr<NamedMutex>(new NamedMutex); });
}

bool NamedMutex::Lock(std::uint32_t timeoutMs) {
  const auto self = std::this_thread::get_id();
  std::unique_lock lock(mutex_);
  if (!WaitWithTimeout(released_, lock, timeoutMs,
                       [&] { return depth_ == 0 || owner_ == self; })) {
    return false;
  }
  owner_ = self;
  ++depth_;
  return true;
}

void NamedMutex::Unlock() {
  std::lock_guard lock(mutex_);
  if (depth_ == 0 || owner_ != std::this_thread::get_id()) {
    LOG(WARNING) << "NamedMutex: unlock by a thread that does not own it";
    return;
  }
  if (--depth_ == 0) {
    owner_ = {};
    released_.notify_one();
  }
}

}  // namespace platform
