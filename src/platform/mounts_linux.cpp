#include "platform/mounts.h"

#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <memory>
#include <optional>
#include <sstream>

#include "platform/file_contents.h"
#include "platform/utf8.h"

namespace platform {
namespace {

constexpr std::size_t kMaxMountInfoSize = 16 * 1024 * 1024;

// mountinfo writes blanks, tabs, newlines and backslashes as \ooo.
std::string Unescaped(std::string_view field) {
  std::string text;
  for (std::size_t i = 0; i < field.size(); ++i) {
    const auto octal = [&](std::size_t at) { return field[at] >= '0' && field[at] <= '7'; };
    if (field[i] == '\\' && i + 3 < field.size() && octal(i + 1) && octal(i + 2) &&
        octal(i + 3)) {
      text += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                (field[i + 3] - '0'));
      i += 3;
    } else {
      text += field[i];
    }
  }
  return text;
}

// "major:minor"
bool ParseDevice(const std::string& text, unsigned& major, unsigned& minor) {
  char* end = nullptr;
  const unsigned long first = std::strtoul(text.c_str(), &end, 10);
  if (end == text.c_str() || *end != ':') return false;
  const char* second = end + 1;
  const unsigned long last = std::strtoul(second, &end, 10);
  if (end == second || *end != '\0' || first > UINT_MAX || last > UINT_MAX) return false;
  major = static_cast<unsigned>(first);
  minor = static_cast<unsigned>(last);
  return true;
}

std::optional<MountPoint> ParseLine(const std::string& line) {
  // id parent major:minor root mount-point options [optional...] - type source super-options
  std::istringstream fields(line);
  std::string id, parent, device, root, mountPoint, options;
  if (!(fields >> id >> parent >> device >> root >> mountPoint >> options)) return std::nullopt;
  std::string field;
  while (fields >> field && field != "-") {
  }
  std::string type, source;
  if (field != "-" || !(fields >> type >> source)) return std::nullopt;
  MountPoint mount;
  if (!ParseDevice(device, mount.major, mount.minor) || !mountPoint.starts_with('/')) {
    return std::nullopt;
  }
  mount.path = FromUtf8(Unescaped(mountPoint));
  mount.source = FromUtf8(Unescaped(source));
  mount.fileSystem = Unescaped(type);
  mount.readOnly = options == "ro" || options.starts_with("ro,");
  return mount;
}

std::wstring WithoutTrailingSlash(std::wstring_view path) {
  while (path.size() > 1 && path.back() == L'/') path.remove_suffix(1);
  return std::wstring(path);
}

bool Exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

std::string Canonical(const std::string& path) {
  const std::unique_ptr<char, void (*)(void*)> resolved(::realpath(path.c_str(), nullptr),
                                                        std::free);
  return resolved ? std::string(resolved.get()) : std::string();
}

std::string FirstLine(const std::string& file) {
  std::string text = ReadFileContents(FromUtf8(file), 64).value_or("");
  return text.substr(0, text.find('\n'));
}

}  // namespace

std::vector<MountPoint> ParseMountInfo(std::string_view text) {
  std::vector<MountPoint> mounts;
  std::istringstream lines{std::string(text)};
  std::string line;
  while (std::getline(lines, line)) {
    if (std::optional<MountPoint> mount = ParseLine(line)) mounts.push_back(std::move(*mount));
  }
  return mounts;
}

MountTable::MountTable(std::vector<MountPoint> mounts, std::wstring sysRoot)
    : mounts_(std::move(mounts)), sysRoot_(Canonical(ToUtf8(sysRoot))) {}

MountTable MountTable::Current() {
  return MountTable(
      ParseMountInfo(ReadFileContents(L"/proc/self/mountinfo", kMaxMountInfoSize).value_or("")),
      L"/sys");
}

const MountPoint* MountTable::Holding(std::wstring_view path) const {
  if (!path.starts_with(L'/')) return nullptr;
  const MountPoint* best = nullptr;
  for (const MountPoint& mount : mounts_) {
    const std::wstring_view point = mount.path;
    const bool holds = point == L"/" || path == point ||
                       (path.starts_with(point) && path[point.size()] == L'/');
    if (holds && (!best || point.size() >= best->path.size())) best = &mount;
  }
  return best;
}

const MountPoint* MountTable::At(std::wstring_view mountPoint) const {
  const std::wstring wanted = WithoutTrailingSlash(mountPoint);
  const MountPoint* found = nullptr;
  for (const MountPoint& mount : mounts_) {
    if (WithoutTrailingSlash(mount.path) == wanted) found = &mount;
  }
  return found;
}

std::string MountTable::DeviceDir(const MountPoint& mount) const {
  if (sysRoot_.empty()) return {};
  const std::string byNumber =
      sysRoot_ + "/dev/block/" + std::to_string(mount.major) + ":" + std::to_string(mount.minor);
  if (Exists(byNumber)) return Canonical(byNumber);
  const std::string source = ToUtf8(mount.source);
  if (!source.starts_with("/dev/")) return {};
  const std::string name = source.substr(source.rfind('/') + 1);
  if (name.empty()) return {};
  const std::string byName = sysRoot_ + "/class/block/" + name;
  return Exists(byName) ? Canonical(byName) : std::string();
}

bool MountTable::IsFixedDrive(const MountPoint& mount) const {
  if (mount.readOnly) return false;
  const std::string device = DeviceDir(mount);
  if (device.empty()) return false;
  // A partition carries no removable flag; its disk, the folder above, does.
  const std::string disk =
      Exists(device + "/partition") ? device.substr(0, device.rfind('/')) : device;
  return FirstLine(disk + "/removable") != "1";
}

StorageBusType MountTable::BusType(const MountPoint& mount) const {
  const std::string device = DeviceDir(mount);
  if (device.empty()) return kBusTypeUnknown;
  // Only the folders below sysfs's root tell the bus, and the first bus on
  // the way is the device's: a USB enclosure's disk also sits below a SCSI
  // host.
  std::istringstream folders(device.starts_with(sysRoot_) ? device.substr(sysRoot_.size())
                                                          : device);
  std::string folder;
  while (std::getline(folders, folder, '/')) {
    if (folder.starts_with("usb")) return kBusTypeUsb;
    if (folder.starts_with("nvme")) return kBusTypeNvme;
    if (folder.starts_with("ata")) return kBusTypeSata;
    if (folder.starts_with("host") || folder.starts_with("target")) return kBusTypeScsi;
  }
  return kBusTypeUnknown;
}

}  // namespace platform
