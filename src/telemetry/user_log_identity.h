#pragma once
// What the event log says about this program and machine in every event,
// fixed when the log is created.

#include <string>
#include <utility>

namespace telemetry {

struct UserLogIdentity {
  std::string toolsVersion;    // file version of the executable, "" without one
  std::string clickId;         // from the executable's file name
  std::string osDescription;   // OS name + " 64bit" / " 32bit"
  std::string systemLanguage;  // "Unknown" when the name has no "_"
  std::string systemCountry;   // likewise
};

// The identity of the running executable on this machine.
UserLogIdentity CurrentUserLogIdentity();

// The text between the last "_" and the last "." of the file name of
// `executablePath`; empty when the name lacks either or they come in the
// other order.
std::string ClickIdOfExecutable(const std::wstring& executablePath);

// A language-and-country name split at its first "_" into language and
// country; both "Unknown" without one.
std::pair<std::string, std::string> SplitLanguageCountry(const std::string& name);

}  // namespace telemetry
