#include <easylogging++.h>

#include <string>
#include <string_view>

#include "platform/ignore_case.h"
#include "platform/process_id.h"
#include "platform/process_list.h"
#include "platform/utf8.h"
#include "system/process_control.h"

namespace FuntionImpl {
namespace {

// `name` as the kernel keeps a process name: its first bytes only.
std::wstring AsProcessName(const std::wstring& name) {
  const std::string bytes = platform::ToUtf8(name);
  if (bytes.size() <= platform::kProcessNameMaxBytes) return name;
  return platform::FromUtf8(bytes.substr(0, platform::kProcessNameMaxBytes));
}

bool ContainsDotTmp(std::wstring_view path) {
  for (std::size_t at = path.find(L'.'); at != std::wstring_view::npos;
       at = path.find(L'.', at + 1)) {
    if (platform::EqualsIgnoreCase(path.substr(at, 4), L".tmp")) return true;
  }
  return false;
}

}  // namespace

int FindProcessByFullPath(std::wstring fullPath, bool endFlag, bool installerCopy) {
  const std::wstring fileName = fullPath.substr(fullPath.rfind(L'/') + 1);
  // setup.exe runs its unpacked copy as setup.tmp.
  const std::wstring copyName =
      fileName.substr(0, fileName.size() < 3 ? 0 : fileName.size() - 3) + L"tmp";
  const std::wstring wantedName = AsProcessName(fileName);
  const std::wstring wantedCopyName = AsProcessName(copyName);

  const auto processes = platform::ListProcesses();
  if (!processes) return -2;
  const int self = platform::GetCurrentProcessId();
  int result = -1;
  for (const platform::ProcessEntry& process : *processes) {
    if (!platform::EqualsIgnoreCase(process.name, wantedName) &&
        !(installerCopy && platform::EqualsIgnoreCase(process.name, wantedCopyName))) {
      continue;
    }
    LOG(INFO) << " Find proc: " << process.pid;
    if (process.pid == self) continue;
    const std::wstring image = platform::ProcessImagePath(process.pid);
    LOG(INFO) << " Get proc info: " << image.size() << ", " << image.size();
    if (image.empty()) continue;
    if (!platform::EqualsIgnoreCase(image, fullPath) &&
        !(installerCopy && ContainsDotTmp(image))) {
      continue;
    }
    result = process.pid;
    if (endFlag) {
      const int error = platform::KillProcess(process.pid);
      LOG(INFO) << " Kill proc: " << (error == 0 ? 1 : 0) << ", " << error;
    }
    if (!installerCopy) break;
  }
  return result;
}

}  // namespace FuntionImpl
