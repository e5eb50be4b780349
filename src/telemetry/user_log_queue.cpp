#include "telemetry/user_log_queue.h"

namespace telemetry {

UserLogQueue::UserLogQueue(const std::wstring& lockName)
    : lock_(platform::NamedMutex::Open(lockName)) {}

bool UserLogQueue::PushBack(const UserLogEvent& event, std::uint32_t lockWaitMs) {
  if (!lock_->Lock(lockWaitMs)) return false;
  events_.push_back(event);
  size_ = events_.size();
  lock_->Unlock();
  return true;
}

std::optional<UserLogEvent> UserLogQueue::PopFront(std::uint32_t lockWaitMs) {
  if (!lock_->Lock(lockWaitMs)) return std::nullopt;
  std::optional<UserLogEvent> event;
  if (!events_.empty()) {
    event = std::move(events_.front());
    events_.pop_front();
    size_ = events_.size();
  }
  lock_->Unlock();
  return event;
}

}  // namespace telemetry
