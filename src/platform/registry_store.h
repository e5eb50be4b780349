// String values of the Windows registry hives HKEY_LOCAL_MACHINE and
// HKEY_CURRENT_USER (RegQueryValueEx / RegSetValueEx with REG_SZ).
//
// Linux: one GLib key file per hive in $XDG_CONFIG_HOME/installer-stub/
// ("HKEY_LOCAL_MACHINE.ini", "HKEY_CURRENT_USER.ini"); a registry key is a
// group named by its path as given ("SOFTWARE\Vendor\Product"), a value is a
// string key in it. Both hives belong to the user: there is no machine-wide
// store and no elevation. As in the registry, key paths and value names
// compare case-insensitively and the first spelling written is kept. The
// default value of a key (empty value name) is stored as "@".
// Writes hold an exclusive lock across processes and replace the file
// atomically after re-reading it, so concurrent writers lose nothing. Names
// a key file cannot hold (control characters, '[', ']', '=', leading '#',
// blanks at either end of a value name) are refused.
#pragma once

#include <optional>
#include <string>

namespace platform {

enum class RegistryHive { LocalMachine, CurrentUser };

class RegistryStore {
 public:
  RegistryStore() = delete;

  // nullopt when the hive file, the key or the value is missing or unreadable.
  static std::optional<std::wstring> ReadString(RegistryHive hive,
                                                const std::wstring& subKey,
                                                const std::wstring& valueName);
  // Creates the key when needed; false when the store cannot be written.
  static bool WriteString(RegistryHive hive, const std::wstring& subKey,
                          const std::wstring& valueName, const std::wstring& text);
  // Keeps the hive files in `dir` instead; an empty `dir` restores the default.
  static void SetRootForTesting(const std::wstring& dir);
};

}  // namespace platform
