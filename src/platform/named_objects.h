// The name table behind the in-process stand-ins for named kernel objects
// (NamedMutex, ManualResetEvent): opening a name that is in use gives the
// existing object, an unused or empty name a new one.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace platform {

// One table per object type T. `create` makes a new T when needed.
template <typename T, typename Create>
std::shared_ptr<T> OpenNamedObject(const std::wstring& name, Create create) {
  if (name.empty()) return create();
  static std::mutex mutex;
  static std::map<std::wstring, std::weak_ptr<T>> objects;
  std::lock_guard lock(mutex);
  std::erase_if(objects, [](const auto& entry) { return entry.second.expired(); });
  std::weak_ptr<T>& slot = objects[name];
  std::shared_ptr<T> object = slot.lock();
  if (!object) {
    object = create();
    slot = object;
  }
  return object;
}

}  // namespace platform
