// A machine-wide named mutex created initially owned, standing in for
// CreateMutex(nullptr, TRUE, name) + GetLastError() == ERROR_ALREADY_EXISTS,
// as used to keep a single instance of the program.
//
// Linux: an flock() on "<name>.lock" in $XDG_RUNTIME_DIR, or in the temp dir
// when that is unset or unusable ('/' in the name becomes '_'). Unlike the
// Windows mutex, the lock is not recursive and not shared with child
// processes (the descriptor is close-on-exec), the lock file stays behind
// after release (removing it would race with new creators), and the kernel
// drops the lock when the process dies, so there is no "abandoned" state.
// A second Create in the same process also reports alreadyExists.
#pragma once

#include <memory>
#include <string>

namespace platform {

class NamedProcessMutex {
 public:
  // Always an object, owned() telling whether this call got the lock;
  // *alreadyExists (when given) is true when someone else holds it. nullptr
  // only when no lock file can be opened at all.
  static std::unique_ptr<NamedProcessMutex> Create(const std::wstring& name,
                                                   bool* alreadyExists);

  NamedProcessMutex(const NamedProcessMutex&) = delete;
  NamedProcessMutex& operator=(const NamedProcessMutex&) = delete;
  ~NamedProcessMutex();

  bool owned() const;
  // Gives the lock up; false when it was not owned.
  bool Release();

 private:
  class Lock;
  explicit NamedProcessMutex(std::unique_ptr<Lock> lock);

  std::unique_ptr<Lock> lock_;
};

}  // namespace platform
