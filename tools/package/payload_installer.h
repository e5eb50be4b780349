// Installs the payload of a package into the installation folder.
//
// Every entry name is checked before anything is written, and every file is
// first written under a temporary name beside its target; the files are
// renamed into place only when all of them were written; a run that fails
// removes its temporary files and the folders it made, so that a damaged
// payload or a full disk leaves no half-written product behind.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "install_log.h"
#include "package_layout.h"

namespace package {

struct InstallTotals {
  std::size_t files = 0;
  std::uint64_t bytes = 0;
};

// Logs one line per installed file; false with `error` set when the payload
// cannot be read or a target cannot be written.
bool InstallPayload(const std::string& packagePath, PayloadRange range,
                    const std::filesystem::path& dir, InstallLog& log, InstallTotals& totals,
                    std::string& error);

}  // namespace package
