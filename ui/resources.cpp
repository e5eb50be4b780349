#include "ui/resources.h"

#include <mutex>

namespace ui {
namespace {

struct ResourceState {
  std::mutex mutex;
  std::shared_ptr<Package> package;
  std::string name;
};

ResourceState& State() {
  static ResourceState state;
  return state;
}

}  // namespace

void SetResourcePackage(std::shared_ptr<Package> pkg, std::string name) {
  ResourceState& state = State();
  std::lock_guard lock(state.mutex);
  state.name = pkg ? std::move(name) : std::string();
  state.package = std::move(pkg);
}

std::shared_ptr<Package> ResourcePackage() {
  ResourceState& state = State();
  std::lock_guard lock(state.mutex);
  return state.package;
}

std::string ResourcePackageName() {
  ResourceState& state = State();
  std::lock_guard lock(state.mutex);
  return state.name;
}

}  // namespace ui
