// A SystemFacts whose answers tests set directly, for tests in any folder:
//
//   platform::FakeSystemFacts fake;
//   fake.uiLanguageId = 0x0C07;
//   platform::FakeSystemFacts::Installed installed(fake);  // Facts() is `fake`
//   ...                                                   // until scope ends
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "platform/system_facts.h"

namespace platform {

class FakeSystemFacts : public SystemFacts {
 public:
  // Installs a fake as Facts() for one scope, then restores the real facts.
  class Installed {
   public:
    explicit Installed(SystemFacts& fake) { SetFactsForTesting(&fake); }
    ~Installed() { SetFactsForTesting(nullptr); }
    Installed(const Installed&) = delete;
    Installed& operator=(const Installed&) = delete;
  };

  // Atomic: a test may change them while the code under test runs threads.
  std::atomic<std::uint16_t> uiLanguageId = 0x0409;
  std::atomic<bool> is64BitOs = true;
  OsRelease osRelease{"Debian GNU/Linux", "12"};  // set before use
  std::atomic<std::uint64_t> tickCount = 0;
  std::atomic<unsigned> processorCount = 4;
  std::atomic<bool> networkAlive = true;
  std::atomic<std::int64_t> freeDiskSpace = std::int64_t{100} << 30;

  std::uint16_t UiLanguageId() override { return uiLanguageId; }
  bool Is64BitOs() override { return is64BitOs; }
  OsRelease GetOsRelease() override { return osRelease; }
  std::uint64_t TickCount() override { return tickCount; }
  unsigned ProcessorCount() override { return processorCount; }
  bool NetworkAlive() override { return networkAlive; }
  std::int64_t FreeDiskSpace(const std::wstring&) override { return freeDiskSpace; }
};

}  // namespace platform
