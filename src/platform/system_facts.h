// Facts about the machine that the program asks the operating system for,
// behind one interface so that tests can replace them (SetFactsForTesting,
// or FakeSystemFacts from fake_system_facts.h).
//
// Linux differences from the Windows calls they stand in for:
//  - UiLanguageId: the locale of the environment mapped to a Windows LANGID
//    (see ui_language.h) instead of GetUserDefaultUILanguage.
//  - Is64BitOs: the kernel's machine (uname) is a 64-bit architecture; the
//    question "32-bit process on 64-bit Windows" (IsWow64Process) has no
//    counterpart.
//  - GetOsRelease: os-release(5) instead of a Windows version number.
//  - TickCount: milliseconds since boot including suspend (CLOCK_BOOTTIME),
//    like GetTickCount64; it does not wrap after 49 days.
//  - ProcessorCount: processors online.
//  - NetworkAlive: some interface other than loopback is up and has an IPv4
//    or IPv6 address (getifaddrs) — not a connectivity test, as
//    IsNetworkAlive is none.
//  - FreeDiskSpace: bytes available to this user on the file system of
//    `path` (statvfs), like the caller-available figure of GetDiskFreeSpaceEx.
#pragma once

#include <cstdint>
#include <string>

#include "platform/os_release.h"

namespace platform {

class SystemFacts {
 public:
  virtual ~SystemFacts();

  virtual std::uint16_t UiLanguageId() = 0;
  virtual bool Is64BitOs() = 0;
  virtual OsRelease GetOsRelease() = 0;
  virtual std::uint64_t TickCount() = 0;  // ms, monotonic
  virtual unsigned ProcessorCount() = 0;
  virtual bool NetworkAlive() = 0;
  virtual std::int64_t FreeDiskSpace(const std::wstring& path) = 0;  // -1 on error
};

// The installed fake, else the real machine. Thread-safe.
SystemFacts& Facts();

// Installs `fake` (not owned; it must outlive its installation); nullptr
// restores the real facts.
void SetFactsForTesting(SystemFacts* fake);

}  // namespace platform
