// Well-known folders and simple file system queries, standing in for
// GetModuleFileName, GetTempPath, SHGetFolderPath and friends.
//
// Linux differences:
//  - Separators are '/'. Functions documented "with trailing '/'" end in one,
//    like GetTempPath ends in '\'; the others do not.
//  - The desktop is the XDG desktop directory, Program Files is /opt when this
//    process may write there and ~/.local/opt otherwise (no elevation here).
//  - Environment variables are read on every call, nothing is cached.
#pragma once

#include <string>

namespace platform {

// Absolute path of the running executable (/proc/self/exe); empty on error.
std::wstring GetExecutablePath();
// Folder of the running executable, with trailing '/'.
std::wstring GetExecutableDir();
// $TMPDIR when it is set and names a directory, else /tmp/; with trailing '/'.
std::wstring GetTempDir();
// The user's home: $HOME when absolute, else the password database entry.
std::wstring GetHomeDir();
// $XDG_CONFIG_HOME when absolute, else ~/.config.
std::wstring GetUserConfigDir();
// XDG_DESKTOP_DIR of user-dirs.dirs in GetUserConfigDir() ($HOME expanded),
// else ~/Desktop. The folder need not exist.
std::wstring GetDesktopDir();
// /opt when writable by this process, else ~/.local/opt.
std::wstring GetProgramFilesDir();

// Creates `path` and all missing parents; true when it is a directory
// afterwards (also when it existed already).
bool CreateDirectories(const std::wstring& path);
// Symbolic links are followed: a dangling link does not exist.
bool PathExists(const std::wstring& path);
bool IsDirectory(const std::wstring& path);

}  // namespace platform
