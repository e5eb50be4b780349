#pragma once
// The Windows naming of the operating system, as a pure function of what the
// Windows program reads from the system, so that its table stays testable on
// a machine that never answers it.

#include <cstdint>
#include <string>

struct WindowsVersionFacts {
  // CurrentBuild of the registry's CurrentVersion key; 0 when unreadable.
  std::uint32_t currentBuild = 0;
  // RtlGetNtVersionNumbers; 0.0 when ntdll lacks the function.
  std::uint32_t ntMajor = 0;
  std::uint32_t ntMinor = 0;
  // GetVersionExW, which reports 6.2 to programs without a manifest for
  // newer systems.
  bool versionExAvailable = false;
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  bool ntPlatform = false;    // VER_PLATFORM_WIN32_NT, else the 9x family
  bool workstation = false;   // product type VER_NT_WORKSTATION
  bool x64Processor = false;  // GetSystemInfo: PROCESSOR_ARCHITECTURE_AMD64
  bool serverR2 = false;      // GetSystemMetrics(SM_SERVERR2) != 0
};

// Builds above 21999 are Windows 11.
bool IsWindows11Build(std::uint32_t currentBuild);

// The name of the system; `version` gets the program's own version number
// of it (Windows 10 is 10.0, XP 4.0), and is left as it is for an unknown
// minor version (empty name) or major version ("Error").
std::string WindowsOsName(const WindowsVersionFacts& facts, float& version);
