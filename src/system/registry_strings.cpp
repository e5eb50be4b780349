#include "system/registry_strings.h"

#include "platform/registry_store.h"

using platform::RegistryHive;
using platform::RegistryStore;

std::wstring ReadRegistryString(const std::wstring& subKey, const std::wstring& valueName) {
  std::wstring text =
      RegistryStore::ReadString(RegistryHive::LocalMachine, subKey, valueName).value_or(L"");
  if (text.size() > kRegistryReadLimit) text.resize(kRegistryReadLimit);
  return text;
}

bool WriteRegistryString(const std::wstring& subKey, const std::wstring& valueName,
                         const std::wstring& text) {
  return RegistryStore::WriteString(RegistryHive::LocalMachine, subKey, valueName, text);
}
