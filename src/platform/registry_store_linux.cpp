#include "platform/registry_store.h"

#include <easylogging++.h>
#include <fcntl.h>
#include <glib.h>
#include <sys/file.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>

#include "platform/ignore_case.h"
#include "platform/paths.h"
#include "platform/unique_fd_linux.h"
#include "platform/utf8.h"

namespace platform {
namespace {

constexpr GKeyFileFlags kKeepEverything =
    static_cast<GKeyFileFlags>(G_KEY_FILE_KEEP_COMMENTS | G_KEY_FILE_KEEP_TRANSLATIONS);

struct GFree {
  void operator()(GKeyFile* file) const { g_key_file_free(file); }
  void operator()(GError* error) const { g_error_free(error); }
  void operator()(gchar* text) const { g_free(text); }
  void operator()(gchar** list) const { g_strfreev(list); }
};
template <typename T>
using GOwned = std::unique_ptr<T, GFree>;

std::mutex g_rootMutex;
std::string g_rootForTesting;

std::string RootDir() {
  std::lock_guard lock(g_rootMutex);
  if (!g_rootForTesting.empty()) return g_rootForTesting;
  return ToUtf8(GetUserConfigDir()) + "/installer-stub";
}

std::string HivePath(const std::string& root, RegistryHive hive, const char* suffix) {
  return root + (hive == RegistryHive::LocalMachine ? "/HKEY_LOCAL_MACHINE"
                                                    : "/HKEY_CURRENT_USER") + suffix;
}

bool HasForbiddenCharacters(const std::string& name, std::string_view forbidden) {
  for (unsigned char c : name) {
    if (c < 0x20 || c == 0x7F || forbidden.find(static_cast<char>(c)) != std::string_view::npos) {
      return true;
    }
  }
  return false;
}

std::string ValueKey(const std::wstring& valueName) {
  return valueName.empty() ? "@" : ToUtf8(valueName);
}

// Whether GKeyFile writes these names back as they are read.
bool IsStorable(const std::string& group, const std::string& key) {
  return !group.empty() && !HasForbiddenCharacters(group, "[]") &&
         !HasForbiddenCharacters(key, "[]=") && !key.starts_with('#') &&
         !key.starts_with(' ') && !key.ends_with(' ');
}

// The hive file; an empty one when the file does not exist yet, nullptr when
// it cannot be read or parsed.
GOwned<GKeyFile> LoadHive(const std::string& path) {
  GOwned<GKeyFile> file(g_key_file_new());
  GError* raw = nullptr;
  if (g_key_file_load_from_file(file.get(), path.c_str(), kKeepEverything, &raw)) return file;
  GOwned<GError> error(raw);
  if (g_error_matches(error.get(), G_FILE_ERROR, G_FILE_ERROR_NOENT)) return file;
  LOG(WARNING) << "RegistryStore: cannot read " << path << ": " << error->message;
  return nullptr;
}

// The stored spelling of the first name in `names` equal to `wanted`.
std::optional<std::string> FindName(gchar** names, const std::wstring& wanted) {
  GOwned<gchar*> owned(names);
  for (gchar** name = names; name && *name; ++name) {
    if (EqualsIgnoreCase(FromUtf8(*name), wanted)) return std::string(*name);
  }
  return std::nullopt;
}

std::optional<std::string> FindGroup(GKeyFile* file, const std::wstring& subKey) {
  return FindName(g_key_file_get_groups(file, nullptr), subKey);
}

std::optional<std::string> FindKey(GKeyFile* file, const std::string& group,
                                   const std::wstring& valueName) {
  return FindName(g_key_file_get_keys(file, group.c_str(), nullptr, nullptr),
                  FromUtf8(ValueKey(valueName)));
}

// Exclusive across processes (and threads: each holder opens its own file).
UniqueFd LockHive(const std::string& lockPath) {
  UniqueFd fd(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (!fd.valid()) return fd;
  while (::flock(fd.get(), LOCK_EX) != 0) {
    if (errno != EINTR) return UniqueFd();
  }
  return fd;
}

}  // namespace

std::optional<std::wstring> RegistryStore::ReadString(RegistryHive hive,
                                                      const std::wstring& subKey,
                                                      const std::wstring& valueName) {
  // Writers replace the file atomically: reading needs no lock.
  const auto file = LoadHive(HivePath(RootDir(), hive, ".ini"));
  if (!file) return std::nullopt;
  const auto group = FindGroup(file.get(), subKey);
  const auto key = group ? FindKey(file.get(), *group, valueName) : std::nullopt;
  if (!key) return std::nullopt;
  GOwned<gchar> text(g_key_file_get_string(file.get(), group->c_str(), key->c_str(), nullptr));
  if (!text) return std::nullopt;
  return FromUtf8(text.get());
}

bool RegistryStore::WriteString(RegistryHive hive, const std::wstring& subKey,
                                const std::wstring& valueName, const std::wstring& text) {
  if (!IsStorable(ToUtf8(subKey), ValueKey(valueName))) {
    LOG(WARNING) << "RegistryStore: cannot store the name " << ToUtf8(subKey) << " / "
                 << ToUtf8(valueName);
    return false;
  }
  const std::string root = RootDir();
  const std::string path = HivePath(root, hive, ".ini");
  if (!CreateDirectories(FromUtf8(root))) {
    LOG(WARNING) << "RegistryStore: cannot create " << root;
    return false;
  }
  const UniqueFd lock = LockHive(HivePath(root, hive, ".lock"));
  if (!lock.valid()) {
    LOG(WARNING) << "RegistryStore: cannot lock " << path << ": " << std::strerror(errno);
    return false;
  }
  // A damaged file is left as it is rather than replaced by one value.
  const auto file = LoadHive(path);
  if (!file) return false;
  const std::string group = FindGroup(file.get(), subKey).value_or(ToUtf8(subKey));
  const std::string key = FindKey(file.get(), group, valueName).value_or(ValueKey(valueName));
  g_key_file_set_string(file.get(), group.c_str(), key.c_str(), ToUtf8(text).c_str());

  gsize length = 0;
  GOwned<gchar> data(g_key_file_to_data(file.get(), &length, nullptr));
  GError* raw = nullptr;
  const auto flags = static_cast<GFileSetContentsFlags>(G_FILE_SET_CONTENTS_CONSISTENT |
                                                        G_FILE_SET_CONTENTS_DURABLE);
  if (!g_file_set_contents_full(path.c_str(), data.get(), static_cast<gssize>(length), flags,
                                0600, &raw)) {
    GOwned<GError> error(raw);
    LOG(WARNING) << "RegistryStore: cannot write " << path << ": " << error->message;
    return false;
  }
  return true;
}

void RegistryStore::SetRootForTesting(const std::wstring& dir) {
  std::lock_guard lock(g_rootMutex);
  g_rootForTesting = ToUtf8(dir);
}

}  // namespace platform
