// stubctl sysinfo: what the stub sees of this machine, for a maker who wants
// to know why a stub behaves as it does here.
#include <iomanip>
#include <iostream>
#include <sstream>

#include "commands.h"
#include "platform/paths.h"
#include "platform/system_facts.h"
#include "platform/utf8.h"
#include "system/language_index.h"
#include "system/locale_names.h"
#include "system/os_info.h"

namespace stubctl {
namespace {

std::string FreeSpace(const std::wstring& path) {
  const std::int64_t bytes = platform::Facts().FreeDiskSpace(path);
  if (bytes < 0) return "unknown";
  std::ostringstream text;
  text << std::fixed << std::setprecision(1) << static_cast<double>(bytes) / (1 << 30) << " GiB";
  return text.str();
}

}  // namespace

int SysinfoCommand(const Arguments& args) {
  if (!args.empty()) return ReportError("sysinfo", "usage: stubctl sysinfo");
  platform::SystemFacts& facts = platform::Facts();
  float version = 0;
  const std::string osName = GetOsName(version);
  const std::uint16_t languageId = facts.UiLanguageId();
  const std::wstring temp = platform::GetTempDir();
  const std::wstring programFiles = platform::GetProgramFilesDir();
  std::cout << "os name:              " << osName << "\n"
            << "os version:           " << version << "\n"
            << "64-bit:               " << (IsWow64() ? "yes" : "no") << "\n"
            << "ui language id:       0x" << std::hex << std::setw(4) << std::setfill('0')
            << languageId << std::dec << std::setfill(' ') << "\n"
            << "language index:       " << GetDefaultLanguageIndex() << " ("
            << GetLanguageCode(GetDefaultLanguageIndex()) << ")\n"
            << "language, country:    " << GetLanguageCountryName() << "\n"
            << "free space, temp:     " << FreeSpace(temp) << " (" << platform::ToUtf8(temp) << ")\n"
            << "free space, programs: " << FreeSpace(programFiles) << " ("
            << platform::ToUtf8(programFiles) << ")\n"
            << "network alive:        " << (facts.NetworkAlive() ? "yes" : "no") << "\n";
  return 0;
}

}  // namespace stubctl
