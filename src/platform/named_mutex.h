// A named mutex shared by the threads of this process, standing in for
// CreateMutex / WaitForSingleObject / ReleaseMutex on names such as
// "mutex_for_downloadthread".
//
// Like the Windows mutex it is recursive: the owning thread may lock again
// and must unlock as often. Differences: the name is visible in this process
// only (NamedProcessMutex is the machine-wide one), objects of other types
// do not share the name space, and a thread that ends while owning it leaves
// it locked instead of abandoned.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/wait.h"

namespace platform {

class NamedMutex {
 public:
  // The mutex of that name while anyone holds it, else a new one (never
  // locked on return); an empty name gives a new unnamed mutex.
  static std::shared_ptr<NamedMutex> Open(const std::wstring& name);

  NamedMutex(const NamedMutex&) = delete;
  NamedMutex& operator=(const NamedMutex&) = delete;

  // True when this thread owns the mutex, false after `timeoutMs`.
  bool Lock(std::uint32_t timeoutMs = kInfinite);
  // Ignored (and logged) unless this thread owns the mutex, like
  // ReleaseMutex failing with ERROR_NOT_OWNER.
  void Unlock();

 private:
  NamedMutex() = default;

  std::mutex mutex_;
  std::condition_variable released_;
  std::thread::id owner_;
  std::uint32_t depth_ = 0;
};

}  // namespace platform
