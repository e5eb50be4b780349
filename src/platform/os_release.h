// Name and version of the operating system, where the Windows program asks
// GetVersionEx / RtlGetNtVersionNumbers.
//
// Linux: NAME and VERSION_ID of os-release(5). There is no version number
// to compare with Windows versions: VERSION_ID is text ("12", "24.04") and
// may be missing (rolling releases).
#pragma once

#include <string>
#include <string_view>

namespace platform {

struct OsRelease {
  std::string name;     // NAME, "Linux" when absent
  std::string version;  // VERSION_ID, empty when absent
};

// Parses the contents of an os-release file.
OsRelease ParseOsRelease(std::string_view contents);

}  // namespace platform
