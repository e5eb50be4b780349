#include "platform/system_facts.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <sys/socket.h>
#include <sys/statvfs.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <atomic>
#include <ctime>
#include <limits>
#include <string_view>

#include "platform/file_contents.h"
#include "platform/ui_language.h"
#include "platform/utf8.h"

namespace platform {
namespace {

constexpr std::size_t kMaxOsReleaseSize = 64 * 1024;

class LinuxSystemFacts final : public SystemFacts {
 public:
  std::uint16_t UiLanguageId() override { return UiLanguageIdFromEnvironment(); }

  bool Is64BitOs() override {
    utsname name{};
    if (::uname(&name) != 0) return sizeof(void*) == 8;
    const std::string_view machine = name.machine;
    for (std::string_view wide : {"x86_64", "aarch64", "arm64", "ppc64", "ppc64le", "s390x",
                                  "riscv64", "mips64", "sparc64", "loongarch64", "alpha",
                                  "ia64"}) {
      if (machine == wide) return true;
    }
    return false;
  }

  OsRelease GetOsRelease() override {
    // os-release(5): /etc first, the vendor's copy otherwise.
    for (const wchar_t* path : {L"/etc/os-release", L"/usr/lib/os-release"}) {
      if (auto contents = ReadFileContents(path, kMaxOsReleaseSize)) {
        return ParseOsRelease(*contents);
      }
    }
    return ParseOsRelease("");
  }

  std::uint64_t TickCount() override {
    timespec now{};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000 +
           static_cast<std::uint64_t>(now.tv_nsec) / 1000000;
  }

  unsigned ProcessorCount() override {
    const long count = ::sysconf(_SC_NPROCESSORS_ONLN);
    return count > 0 ? static_cast<unsigned>(count) : 1;
  }

  bool NetworkAlive() override {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return false;
    bool alive = false;
    for (const ifaddrs* entry = list; entry && !alive; entry = entry->ifa_next) {
      alive = (entry->ifa_flags & IFF_UP) && !(entry->ifa_flags & IFF_LOOPBACK) &&
              entry->ifa_addr &&
              (entry->ifa_addr->sa_family == AF_INET || entry->ifa_addr->sa_family == AF_INET6);
    }
    ::freeifaddrs(list);
    return alive;
  }

  std::int64_t FreeDiskSpace(const std::wstring& path) override {
    struct statvfs info {};
    if (::statvfs(ToUtf8(path).c_str(), &info) != 0) return -1;
    constexpr auto kMax = static_cast<unsigned long long>(std::numeric_limits<std::int64_t>::max());
    const unsigned long long blockSize = info.f_frsize ? info.f_frsize : info.f_bsize;
    if (blockSize != 0 && info.f_bavail > kMax / blockSize) return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(info.f_bavail * blockSize);
  }
};

std::atomic<SystemFacts*> g_fake{nullptr};

}  // namespace

SystemFacts::~SystemFacts() = default;

SystemFacts& Facts() {
  static LinuxSystemFacts real;
  SystemFacts* fake = g_fake.load();
  return fake ? *fake : real;
}

void SetFactsForTesting(SystemFacts* fake) { g_fake.store(fake); }

}  // namespace platform
