#include "system/windows_os_name.h"

#include <optional>

namespace {

struct Named {
  const char* name;
  std::optional<float> version;  // none: the caller's stays
};

// The table of GetVersionExW answers.
Named NameOfVersionEx(const WindowsVersionFacts& f) {
  switch (f.major) {
    case 4:
      if (f.minor == 0) return {f.ntPlatform ? "Windows NT 4.0" : "Windows 95", 0.0f};
      if (f.minor == 10) return {"Windows 98", 1.0f};
      if (f.minor == 90) return {"Microsoft Windows Me", 2.0f};
      return {"", std::nullopt};
    case 5:
      if (f.minor == 0) return {"Windows 2000", 3.0f};
      if (f.minor == 1) return {"Windows XP", 4.0f};
      if (f.minor == 2) {
        if (f.workstation && f.x64Processor) return {"Windows XP Professional x64 Edition", 5.0f};
        return {f.serverR2 ? "Windows Server 2003 R2" : "Windows Server 2003", 5.0f};
      }
      return {"", std::nullopt};
    case 6:
      if (f.minor == 0) return {f.workstation ? "Windows Vista" : "Windows Server 2008", 6.0f};
      if (f.minor == 1) return {f.workstation ? "Windows 7" : "Windows Server 2008 R2", 7.0f};
      if (f.minor == 2) return {f.workstation ? "Windows 8" : "Windows Server 2012", 8.0f};
      return {"", std::nullopt};
    default:
      return {"Error", std::nullopt};
  }
}

}  // namespace

bool IsWindows11Build(std::uint32_t currentBuild) { return currentBuild > 21999; }

std::string WindowsOsName(const WindowsVersionFacts& facts, float& version) {
  if (IsWindows11Build(facts.currentBuild)) {
    version = 11.0f;
    return "Windows 11";
  }
  if (facts.ntMajor == 6 && facts.ntMinor == 3) {
    version = 8.1f;
    return "Windows 8.1";
  }
  if (facts.ntMajor == 10 && facts.ntMinor == 0) {
    version = 10.0f;
    return "Windows 10";
  }
  if (!facts.versionExAvailable) return "";
  const Named named = NameOfVersionEx(facts);
  if (named.version) version = *named.version;
  return named.name;
}
