#pragma once
// Starting the installed product, finding and ending the processes that run
// a given executable, and choosing the drive for an installation path.
//
// Linux: programs start with posix_spawn, their command line cut with the
// Windows quoting rules; the process list is /proc; mount points stand for
// drive roots.

#include <string>

class CSingleUserLog;

namespace platform {
class MountTable;
}

namespace FuntionImpl {

// `command` is the executable's full path in double quotes, possibly with
// arguments. Start flag not 0: a direct child working in the program's
// folder; 0: a detached start as the desktop user. 0 started, -1 failed.
// A failed start is reported as ("Other", "StartWindowError", errno).
int StartTargetMainExe(std::wstring command, int startFlag);
int StartTargetMainExe(std::wstring command, int startFlag, CSingleUserLog& userLog);

// Id of the last process found running `fullPath` (case-insensitive), -1 when
// none, -2 when the process list cannot be read. Never the own process.
int FindProcessByFullPath(std::wstring fullPath, bool endFlag, bool installerCopy);

// Puts `path` on the writable, non-removable, non-USB drive with the most
// free space: that drive's mount point + the path below its own mount.
// Unchanged when no drive qualifies or the path is relative.
void MoveToLargestFixedDrive(std::wstring& path);
void MoveToLargestFixedDrive(std::wstring& path, const platform::MountTable& mounts);

// The STORAGE_BUS_TYPE number of the device mounted at `mountPoint`; 0 when
// unknown or nothing is mounted there.
int GetDriveBusType(const std::wstring& mountPoint);
int GetDriveBusType(const std::wstring& mountPoint, const platform::MountTable& mounts);

}  // namespace FuntionImpl
