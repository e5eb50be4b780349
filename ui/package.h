#ifndef UI_PACKAGE_H_
#define UI_PACKAGE_H_

#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct zip;

namespace ui {

// A skin ZIP held in memory. Entry names are matched with either separator and
// without regard to case, as skins are authored on Windows. Thread-safe.
class Package {
 public:
  // Entries larger than this are refused rather than read into memory.
  static constexpr std::size_t kMaxEntrySize = 64u * 1024 * 1024;

  // nullptr with `*error` set (when given) for empty, non-ZIP or damaged data.
  static std::shared_ptr<Package> FromMemory(std::vector<unsigned char> bytes,
                                             std::string* error);

  Package(const Package&) = delete;
  Package& operator=(const Package&) = delete;
  ~Package();

  // The whole entry, or nullopt when it is missing, too large or corrupt.
  std::optional<std::string> Read(std::string_view path) const;
  bool Exists(std::string_view path) const;

  // Lower-case, '/'-separated form of a path as used for lookups.
  static std::string NormalizePath(std::string_view path);

 private:
  Package(std::vector<unsigned char> bytes, zip* archive);
  std::optional<long long> Find(std::string_view path) const;

  std::vector<unsigned char> bytes_;  // libzip reads from this buffer
  zip* archive_;
  std::map<std::string, long long> index_;  // normalized name -> entry
  mutable std::mutex mutex_;  // libzip archives are not thread-safe
};

}  // namespace ui

#endif  // UI_PACKAGE_H_
