// Reader for files of shell-style assignments (NAME=value, NAME="value"),
// such as /etc/os-release and user-dirs.dirs.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The value of the last assignment to `name` in `text`, with one level of
// single or double quotes removed and backslash escapes resolved inside
// double quotes. Comment lines ('#') and anything malformed are skipped; no
// variables are expanded.
std::optional<std::string> FindShellAssignment(std::string_view text,
                                               std::string_view name);

}  // namespace platform
