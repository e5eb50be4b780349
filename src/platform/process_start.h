// Programs started without a shell, standing in for CreateProcess and for
// ShellExecute through explorer (a start as the desktop user).
//
// Linux: neither waits for the program, and neither leaves it a zombie: a
// direct child is reaped by a thread of its own when it ends, a detached one
// is no child of ours at all. Ignored signals and the blocked signal mask of
// this process are not passed on.
#pragma once

#include <string>
#include <vector>

namespace platform {

// Runs argv[0], a path (no PATH search), with `argv` and this process's
// environment in `workingDirectory` (empty: ours). 0 or the errno of the
// failed start (ENOENT, EACCES, ENOTDIR for the directory, ...).
int StartProcess(const std::vector<std::wstring>& argv, const std::wstring& workingDirectory);

// Like StartProcess in our working directory, but in a session of its own
// and, when this process runs as root on behalf of a user (pkexec:
// PKEXEC_UID; sudo: SUDO_UID, SUDO_GID), as that user with their groups,
// HOME, USER and LOGNAME and without the SUDO_ and PKEXEC_ variables.
int StartDetachedProcess(const std::vector<std::wstring>& argv);

}  // namespace platform
