#include "platform/paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/file_contents.h"
#include "platform/shell_assignment.h"
#include "platform/utf8.h"

namespace platform {
namespace {

// user-dirs.dirs is a few hundred bytes; anything much larger is not one.
constexpr std::size_t kMaxUserDirsSize = 64 * 1024;

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

bool IsDirectoryUtf8(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string HomeUtf8() {
  std::string home = Env("HOME");
  if (!home.starts_with('/')) {
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* result = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 &&
        result && result->pw_dir) {
      home = result->pw_dir;
    }
  }
  return WithoutTrailingSlashes(home.empty() ? "/" : home);
}

std::string ConfigUtf8() {
  std::string config = Env("XDG_CONFIG_HOME");
  return config.starts_with('/') ? WithoutTrailingSlashes(config)
                                 : HomeUtf8() + "/.config";
}

}  // namespace

std::wstring GetExecutablePath() {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < buffer.size()) {
      return FromUtf8(std::string(buffer.data(), static_cast<std::size_t>(length)));
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::wstring GetExecutableDir() {
  std::wstring path = GetExecutablePath();
  return path.substr(0, path.rfind(L'/') + 1);
}

std::wstring GetTempDir() {
  std::string dir = Env("TMPDIR");
  if (!IsDirectoryUtf8(dir)) dir = "/tmp";
  if (!dir.ends_with('/')) dir += '/';
  return FromUtf8(dir);
}

std::wstring GetHomeDir() { return FromUtf8(HomeUtf8()); }

std::wstring GetUserConfigDir() { return FromUtf8(ConfigUtf8()); }

std::wstring GetDesktopDir() {
  const std::string home = HomeUtf8();
  auto text = ReadFileContents(FromUtf8(ConfigUtf8() + "/user-dirs.dirs"),
                               kMaxUserDirsSize);
  // xdg-user-dirs writes either "$HOME/relative" or an absolute path.
  if (auto dir = text ? FindShellAssignment(*text, "XDG_DESKTOP_DIR") : std::nullopt) {
    if (*dir == "$HOME" || dir->starts_with("$HOME/")) {
      return FromUtf8(WithoutTrailingSlashes(home + dir->substr(5)));
    }
    if (dir->starts_with('/')) return FromUtf8(WithoutTrailingSlashes(*dir));
  }
  return FromUtf8(home + "/Desktop");
}

std::wstring GetProgramFilesDir() {
  if (::access("/opt", W_OK) == 0 && IsDirectoryUtf8("/opt")) return L"/opt";
  return FromUtf8(HomeUtf8() + "/.local/opt");
}

bool CreateDirectories(const std::wstring& path) {
  const std::string utf8 = ToUtf8(path);
  std::error_code ignored;  // the result is judged by what exists afterwards
  std::filesystem::create_directories(utf8, ignored);
  return IsDirectoryUtf8(utf8);
}

bool PathExists(const std::wstring& path) {
  struct stat info {};
  return ::stat(ToUtf8(path).c_str(), &info) == 0;
}

bool IsDirectory(const std::wstring& path) { return IsDirectoryUtf8(ToUtf8(path)); }

}  // namespace platform
