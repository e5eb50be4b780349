// Runs a helper program (objcopy) directly, without a shell, so that file
// names are passed through untouched.
#pragma once

#include <string>
#include <vector>

namespace stubctl {

// Exit status of argv[0] (looked up in PATH) run with `argv`; -1 when it
// could not be started or did not exit normally. stdout and stderr are
// inherited.
int RunProgram(const std::vector<std::string>& argv);

}  // namespace stubctl
