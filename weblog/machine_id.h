#pragma once
// Reading machine-id(5), the installation's own random 128-bit id. It stands
// in for the volume GUID of the Windows system drive: both live exactly as
// long as the installation.

#include <string>
#include <string_view>

// The id in a machine-id file's text: 32 lower-case hex digits, a trailing
// newline allowed. Empty for anything else ("uninitialized", garbage).
std::string MachineIdFromText(std::string_view fileText);
