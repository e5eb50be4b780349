// Bounded whole-file reads for the small text files the platform layer parses
// (os-release, user-dirs.dirs, profiles).
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace platform {

// The first `maxBytes` bytes of `path` (all of it when smaller); nullopt when
// it cannot be opened or read, or is a directory.
std::optional<std::string> ReadFileContents(const std::wstring& path,
                                            std::size_t maxBytes);

}  // namespace platform
