#pragma once
// The operating system as the analytics and start-up describe it.
//
// Linux: the name is os-release's NAME and VERSION_ID joined by a blank
// ("Debian GNU/Linux 12", "Arch Linux" without VERSION_ID), and the version
// number is VERSION_ID's leading decimal number ("12" -> 12.0, "24.04" ->
// 24.04). A missing or non-numeric VERSION_ID ("rolling") leaves the
// caller's version as it is, like an unknown Windows version. The number is
// the distribution's own: comparing it with Windows numbers (10.0) says
// nothing about the system's age. The Windows naming is WindowsOsName
// (windows_os_name.h).

#include <string>

std::string GetOsName(float& version);

// Linux: the operating system is 64-bit (there is no 32-bit process on a
// 64-bit Windows to detect).
bool IsWow64();
