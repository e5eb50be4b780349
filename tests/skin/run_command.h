// Runs a program to completion and keeps what it printed.
#pragma once

#include <string>
#include <vector>

namespace skintest {

struct CommandResult {
  int exitCode;  // -1 when it could not start or ended by a signal
  std::string out;
  std::string err;
};

CommandResult RunCommand(const std::vector<std::string>& argv);

}  // namespace skintest
