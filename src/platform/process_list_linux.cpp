#include "platform/process_list.h"

#include <dirent.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <memory>
#include <mutex>

#include "platform/file_contents.h"
#include "platform/utf8.h"

namespace platform {
namespace {

std::mutex g_rootMutex;
std::string g_rootForTesting;

std::string ProcRoot() {
  std::lock_guard lock(g_rootMutex);
  return g_rootForTesting.empty() ? "/proc" : g_rootForTesting;
}

// The pid a /proc entry names; 0 for the entries that are no process.
int PidOf(const char* name) {
  int pid = 0;
  for (const char* c = name; *c; ++c) {
    if (*c < '0' || *c > '9' || pid > 99999999) return 0;
    pid = pid * 10 + (*c - '0');
  }
  return pid;
}

}  // namespace

std::optional<std::vector<ProcessEntry>> ListProcesses() {
  const std::string root = ProcRoot();
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(root.c_str()), ::closedir);
  if (!dir) return std::nullopt;
  std::vector<ProcessEntry> processes;
  while (const dirent* entry = ::readdir(dir.get())) {
    const int pid = PidOf(entry->d_name);
    if (pid == 0) continue;
    // Somewhat more than the kernel keeps, in case of a fake root.
    std::optional<std::string> comm =
        ReadFileContents(FromUtf8(root + "/" + entry->d_name + "/comm"), 64);
    if (!comm) continue;  // ended since the directory was read
    if (!comm->empty() && comm->back() == '\n') comm->pop_back();
    processes.push_back({pid, FromUtf8(*comm)});
  }
  return processes;
}

std::wstring ProcessImagePath(int pid) {
  const std::string link = ProcRoot() + "/" + std::to_string(pid) + "/exe";
  std::string target(4096, '\0');
  const ssize_t length = ::readlink(link.c_str(), target.data(), target.size());
  if (length <= 0 || static_cast<std::size_t>(length) == target.size()) return {};
  target.resize(static_cast<std::size_t>(length));
  return FromUtf8(target);
}

int KillProcess(int pid) {
  // 0 and negative ids would name process groups, -1 every process.
  if (pid <= 0) return ESRCH;
  return ::kill(pid, SIGKILL) == 0 ? 0 : errno;
}

void SetProcRootForTesting(const std::wstring& dir) {
  std::lock_guard lock(g_rootMutex);
  g_rootForTesting = ToUtf8(dir);
}

}  // namespace platform
