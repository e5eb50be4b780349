// The subcommands of stubctl, one source file each. A command gets the
// arguments after its name and returns the process exit code.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace stubctl {

using Arguments = std::vector<std::string>;

int MakeStubCommand(const Arguments& args);
int PackSkinCommand(const Arguments& args);
int SysinfoCommand(const Arguments& args);
int SignCommand(const Arguments& args);
int VerifyCommand(const Arguments& args);

// "stubctl <command>: error: <message>" on stderr; returns exit code 1.
int ReportError(std::string_view command, const std::string& message);
// "stubctl <command>: warning: <message>" on stderr.
void ReportWarning(std::string_view command, const std::string& message);

}  // namespace stubctl
