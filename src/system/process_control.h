#pragma once
// Starting the installed product, finding and ending the processes that run
// a given executable, and choosing the drive for an installation path.
//
// Linux: programs start with posix_spawn, their command line cut with the
// Windows quoting rules; the process list is /proc; mount points stand for
// drive roots.

#include <string>

namespace FuntionImpl {

// `command` is the executable's full path in double quotes, possibly with
// arguments. Start flag not 0: a direct child, working directory cut from the
// command; 0: a detached start as the desktop user. 0 started, -1 failed.
int StartTargetMainExe(std::wstring command, int startFlag);

// Id of the last process found running `fullPath` (case-insensitive), -1 when
// none, -2 when the process list cannot be read. Never the own process.
int FindProcessByFullPath(std::wstring fullPath, bool endFlag, bool installerCopy);

}  // namespace FuntionImpl
