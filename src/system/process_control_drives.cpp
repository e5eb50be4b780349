#include <cstdint>
#include <string>

#include "platform/mounts.h"
#include "platform/system_facts.h"
#include "system/process_control.h"

namespace FuntionImpl {
namespace {

// `path` below its mount point, without a leading '/'.
std::wstring BelowMount(const std::wstring& path, const platform::MountPoint& mount) {
  std::wstring rest = path.substr(mount.path == L"/" ? 0 : mount.path.size());
  while (rest.starts_with(L'/')) rest.erase(0, 1);
  return rest;
}

}  // namespace

void MoveToLargestFixedDrive(std::wstring& path) {
  MoveToLargestFixedDrive(path, platform::MountTable::Current());
}

void MoveToLargestFixedDrive(std::wstring& path, const platform::MountTable& mounts) {
  const platform::MountPoint* own = mounts.Holding(path);
  if (!own) return;
  const platform::MountPoint* best = own;
  std::int64_t bestFree = 0;
  for (const platform::MountPoint& mount : mounts.mounts()) {
    if (!mounts.IsFixedDrive(mount) || mounts.BusType(mount) == platform::kBusTypeUsb) continue;
    const std::int64_t free = platform::Facts().FreeDiskSpace(mount.path);
    if (free > bestFree) {
      best = &mount;
      bestFree = free;
    }
  }
  if (best == own) return;
  const std::wstring rest = BelowMount(path, *own);
  std::wstring moved = best->path;
  if (!rest.empty() && !moved.ends_with(L'/')) moved += L'/';
  path = moved + rest;
}

int GetDriveBusType(const std::wstring& mountPoint) {
  return GetDriveBusType(mountPoint, platform::MountTable::Current());
}

int GetDriveBusType(const std::wstring& mountPoint, const platform::MountTable& mounts) {
  const platform::MountPoint* mount = mounts.At(mountPoint);
  return mount ? mounts.BusType(*mount) : platform::kBusTypeUnknown;
}

}  // namespace FuntionImpl
