// The running processes, standing in for the Toolhelp snapshot,
// GetModuleFileNameEx and TerminateProcess.
//
// Linux: the list is /proc; a process's name is its comm, which the kernel
// cuts to kProcessNameMaxBytes bytes of the executable's file name; its image
// is the target of /proc/<pid>/exe, unknown for processes of other users
// unless this one is privileged.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace platform {

constexpr std::size_t kProcessNameMaxBytes = 15;

struct ProcessEntry {
  int pid = 0;
  std::wstring name;
};

// Every process that could be read, in the order of the directory; nullopt
// when the list itself cannot be read. Processes that end meanwhile are
// left out.
std::optional<std::vector<ProcessEntry>> ListProcesses();

// The process's executable path; empty when it has ended or is not ours
// to see.
std::wstring ProcessImagePath(int pid);

// Ends the process at once (SIGKILL); 0 or the errno (ESRCH for ids that
// are no single process).
int KillProcess(int pid);

// Reads the list from `dir` instead of /proc; empty restores /proc.
void SetProcRootForTesting(const std::wstring& dir);

}  // namespace platform
