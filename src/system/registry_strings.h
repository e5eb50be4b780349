#pragma once
// String values of keys under HKEY_LOCAL_MACHINE (platform::RegistryStore).

#include <cstddef>
#include <string>

// The Windows program reads into a buffer of 260 characters with its
// terminating zero; longer values are cut to what it holds.
constexpr std::size_t kRegistryReadLimit = 259;

// The value, cut to kRegistryReadLimit characters; empty on any failure.
std::wstring ReadRegistryString(const std::wstring& subKey, const std::wstring& valueName);

// Creates the key when needed; false when the value cannot be stored.
bool WriteRegistryString(const std::wstring& subKey, const std::wstring& valueName,
                         const std::wstring& text);
