#include <easylogging++.h>

#include <string>
#include <vector>

#include "platform/command_line_words.h"
#include "platform/paths.h"
#include "platform/process_start.h"
#include "system/process_control.h"
#include "telemetry/SingleUserLog.h"

namespace FuntionImpl {
namespace {

int StartFailed(CSingleUserLog& userLog, const char* line, int error) {
  LOG(INFO) << line << " (" << error << ")";
  userLog.AddUserLog("Other", "StartWindowError", std::to_string(error).c_str(), false);
  return -1;
}

}  // namespace

int StartTargetMainExe(std::wstring command, int startFlag) {
  return StartTargetMainExe(std::move(command), startFlag, CSingleUserLog::GetInstance());
}

// The program is the command's first word, not the text between its first
// and last character: a command with arguments, or an argument holding a
// '/', still starts the program from its own folder.
int StartTargetMainExe(std::wstring command, int startFlag, CSingleUserLog& userLog) {
  const std::vector<std::wstring> words = platform::SplitCommandLine(command);
  const std::wstring program = words.empty() ? std::wstring() : words.front();
  if (startFlag != 0) {
    const std::size_t slash = program.rfind(L'/');
    const std::wstring folder =
        slash == std::wstring::npos ? std::wstring() : program.substr(0, slash + 1);
    const int error = platform::StartProcess(words, folder);
    return error == 0 ? 0 : StartFailed(userLog, "CreateProcess failed3", error);
  }
  if (program.empty() || !platform::PathExists(program)) {
    return StartFailed(userLog, " CreateProcess failed1", 2);
  }
  const int error = platform::StartDetachedProcess(words);
  return error == 0 ? 0 : StartFailed(userLog, " CreateProcess failed2", error);
}

}  // namespace FuntionImpl
