// Mounted file systems, standing in for the drive letters of
// GetLogicalDriveStrings, GetDriveType and the storage bus query: a mount
// point is a drive root.
//
// Linux: the table is /proc/self/mountinfo and devices are looked up in
// sysfs (/sys/dev/block/<major>:<minor>, else /sys/class/block/<name> of a
// /dev source, which covers btrfs and its anonymous device numbers). Pseudo
// file systems (proc, tmpfs, overlay, ...) have no block device.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The values of the Windows STORAGE_BUS_TYPE that sysfs lets us tell apart.
enum StorageBusType : int {
  kBusTypeUnknown = 0,
  kBusTypeScsi = 1,
  kBusTypeUsb = 7,
  kBusTypeSata = 11,
  kBusTypeNvme = 17,
};

struct MountPoint {
  std::wstring path;       // where it is mounted
  std::wstring source;     // "/dev/sda1", "tmpfs", ...
  std::string fileSystem;  // "ext4", "proc", ...
  unsigned major = 0;
  unsigned minor = 0;
  bool readOnly = false;
};

// The mounts of mountinfo text, in its order; malformed lines are left out.
std::vector<MountPoint> ParseMountInfo(std::string_view text);

class MountTable {
 public:
  MountTable(std::vector<MountPoint> mounts, std::wstring sysRoot);
  // This process's mounts and /sys; no mounts when the table cannot be read.
  static MountTable Current();

  const std::vector<MountPoint>& mounts() const { return mounts_; }

  // The mount whose file system holds the absolute `path`: the longest
  // mount point that is `path` or a folder of it, the later one of equals
  // (it is mounted on top). nullptr for relative paths.
  const MountPoint* Holding(std::wstring_view path) const;
  // The mount at `mountPoint` (a trailing '/' aside), the later of equals;
  // nullptr when nothing is mounted there.
  const MountPoint* At(std::wstring_view mountPoint) const;

  // A writable mount of a block device the kernel does not call removable.
  bool IsFixedDrive(const MountPoint& mount) const;
  // The bus of the mount's block device; unknown without one.
  StorageBusType BusType(const MountPoint& mount) const;

 private:
  // The device's folder in sysfs with links resolved; empty without one.
  std::string DeviceDir(const MountPoint& mount) const;

  std::vector<MountPoint> mounts_;
  std::string sysRoot_;
};

}  // namespace platform
