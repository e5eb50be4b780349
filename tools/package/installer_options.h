// The switches a package understands, in the form the stub passes them
// (" /VERYSILENT /SP- /NORESTART /DIR=... /LANG=... /LOG=... /sptrack ...").
// Names are matched ignoring case; a later value switch wins over an
// earlier one.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace package {

struct InstallerOptions {
  std::optional<std::string> dir;
  std::optional<std::string> language;
  std::optional<std::string> log;
  std::vector<std::string> known;    // the flag switches, as given
  std::vector<std::string> ignored;  // everything else, kept for the log
};

InstallerOptions ParseInstallerOptions(const std::vector<std::string>& words);

}  // namespace package
