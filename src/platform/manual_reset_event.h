// A named manual-reset event shared by the threads of this process, standing
// in for CreateEvent(nullptr, TRUE, initial, name) / SetEvent / ResetEvent /
// WaitForSingleObject on names such as "ProgressFinish100".
//
// Differences: the name is visible in this process only and not shared with
// objects of other types. As on Windows, opening an existing name ignores
// `initiallySet`.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "platform/wait.h"

namespace platform {

class ManualResetEvent {
 public:
  // The event of that name while anyone holds it, else a new one; an empty
  // name gives a new unnamed event.
  static std::shared_ptr<ManualResetEvent> Open(const std::wstring& name, bool initiallySet);

  ManualResetEvent(const ManualResetEvent&) = delete;
  ManualResetEvent& operator=(const ManualResetEvent&) = delete;

  // Wakes every waiter; stays set until Reset.
  void Set();
  void Reset();
  // True when set, false after `timeoutMs` (kInfinite: no limit, 0: poll).
  bool Wait(std::uint32_t timeoutMs);
  bool IsSet() const;

 private:
  explicit ManualResetEvent(bool set) : set_(set) {}

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool set_;
};

}  // namespace platform
