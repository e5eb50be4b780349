#pragma once
// A queue of events guarded by a named lock that callers wait for a bounded
// time: a producer never blocks longer than that, and an event that cannot
// get the lock in time is dropped. Only queue operations hold the lock.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "platform/named_mutex.h"
#include "telemetry/user_log_event.h"

namespace telemetry {

class UserLogQueue {
 public:
  explicit UserLogQueue(const std::wstring& lockName);
  UserLogQueue(const UserLogQueue&) = delete;
  UserLogQueue& operator=(const UserLogQueue&) = delete;

  // False when the lock was not taken within `lockWaitMs`.
  bool PushBack(const UserLogEvent& event, std::uint32_t lockWaitMs);
  // nullopt when empty or the lock was not taken within `lockWaitMs`.
  std::optional<UserLogEvent> PopFront(std::uint32_t lockWaitMs);
  // Without the lock: a hint for the sender's idle test.
  bool Empty() const { return size_.load() == 0; }

 private:
  std::shared_ptr<platform::NamedMutex> lock_;
  std::deque<UserLogEvent> events_;
  std::atomic<std::size_t> size_ = 0;
};

}  // namespace telemetry
