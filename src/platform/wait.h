// Timeouts shared by the waitable stand-ins (Thread, NamedMutex,
// ManualResetEvent). Values are milliseconds as in the Windows wait functions.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace platform {

// Like INFINITE: wait without a time limit.
constexpr std::uint32_t kInfinite = 0xFFFFFFFF;

// Waits on `cv` until `ready()` holds or `timeoutMs` passes (kInfinite: no
// limit, 0: just test). Returns ready() as seen last.
template <typename Predicate>
bool WaitWithTimeout(std::condition_variable& cv,
                     std::unique_lock<std::mutex>& lock,
                     std::uint32_t timeoutMs, Predicate ready) {
  if (timeoutMs == kInfinite) {
    cv.wait(lock, ready);
    return true;
  }
  return cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
}

}  // namespace platform
