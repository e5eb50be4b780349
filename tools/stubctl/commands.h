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
int MakePackageCommand(const Arguments& args);
int Md5Command(const Arguments& args);
int FetchCommand(const Arguments& args);

// Appends a CMS signature to `target` (replacing an earlier one); errors are
// reported under `command`. 0, or the exit code of the failure.
int SignFile(const std::string& keyFile, const std::string& certFile,
             const std::string& chainFile, const std::string& target, std::string_view command,
             int* signatureBytes = nullptr);

// "stubctl <command>: error: <message>" on stderr; returns exit code 1.
int ReportError(std::string_view command, const std::string& message);
// "stubctl <command>: warning: <message>" on stderr.
void ReportWarning(std::string_view command, const std::string& message);

}  // namespace stubctl
