#pragma once
// Prerequisite questions asked before the product starts: does it need a
// newer .NET Framework 4 than the machine has (so that the product's own
// check will prompt the user), and is this Windows 11 or later.
//
// Linux: both read the registry store, which holds these values only when
// something put them there (a test, a compatibility layer); without them the
// installed .NET version is empty and the build number unknown.

#include <array>
#include <string>

// major, minor, build, revision; missing parts are 0.
using Version = std::array<int, 4>;

// Split at "." into at most four parts, each read like atoi.
Version ParseVersion(const std::string& text);

// NetFrameworkVersion from [Settings] of the directory's "NetFrameCheck.db"
// (UTF-8; reading stops at [Text]); empty when absent or unreadable.
std::string GetNeedNetFrameVersion(const std::wstring& directory);

// The installed .NET Framework 4 Client version; empty when not installed.
std::string GetLocalNetFrameVersion();

// Build number above 21999.
bool IsWindows11();

namespace FuntionImpl {

// True when the product needs a .NET version and the installed one is lower.
bool WillShowNetFrameCheck(std::wstring directory);

}  // namespace FuntionImpl
