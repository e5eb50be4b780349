#pragma once
// A made-up machine for the drive tests: block devices in a sysfs tree
// below a folder, and the mountinfo lines that mount them.

#include <filesystem>
#include <string>

#include "fixtures/temp_dir.h"

namespace test {

// Device folders as the kernel places them, below "devices/".
constexpr char kUsbBus[] = "pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0";
constexpr char kSataBus[] = "pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0";
constexpr char kNvmeBus[] = "pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme0";
constexpr char kScsiBus[] = "pci0000:00/0000:00:04.0/virtio2/host2/target2:0:0/2:0:0:0";
constexpr char kVirtioBus[] = "pci0000:00/0000:00:02.0/virtio1";
constexpr char kVirtualBus[] = "virtual";

class FakeSysfs {
 public:
  explicit FakeSysfs(const TempDir& dir) : root_(dir.path() / "sys") {
    std::filesystem::create_directories(root_ / "dev" / "block");
    std::filesystem::create_directories(root_ / "class" / "block");
  }

  std::wstring root() const { return root_.wstring(); }

  // A disk `disk` below `bus`, and when `partition` is given that partition
  // of it; the one named last gets the number `major`:`minor`.
  void AddDevice(const std::string& bus, const std::string& disk, const std::string& partition,
                 int major, int minor, bool removable = false) {
    const std::filesystem::path diskDir = root_ / "devices" / bus / "block" / disk;
    std::filesystem::create_directories(diskDir);
    WriteFile(diskDir / "removable", removable ? "1\n" : "0\n");
    std::filesystem::path device = diskDir;
    if (!partition.empty()) {
      device = diskDir / partition;
      std::filesystem::create_directories(device);
      WriteFile(device / "partition", "1\n");
    }
    std::filesystem::create_directory_symlink(
        device, root_ / "dev" / "block" / (std::to_string(major) + ":" + std::to_string(minor)));
    std::filesystem::create_directory_symlink(
        device, root_ / "class" / "block" / (partition.empty() ? disk : partition));
  }

 private:
  std::filesystem::path root_;
};

// One line of /proc/self/mountinfo, blanks escaped as the kernel does.
inline std::string MountLine(const std::string& device, const std::string& mountPoint,
                             const std::string& type, const std::string& source,
                             const std::string& options = "rw,relatime") {
  std::string escaped;
  for (const char c : mountPoint) escaped += c == ' ' ? std::string("\\040") : std::string(1, c);
  return "30 1 " + device + " / " + escaped + " " + options + " shared:1 - " + type + " " +
         source + " rw\n";
}

}  // namespace test
