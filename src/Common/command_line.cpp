#include "Common/command_line.h"

#include "system/text_conversion.h"

namespace {

std::wstring SafeSubstr(const std::wstring& text, std::size_t pos, std::size_t count = std::wstring::npos) {
  return pos < text.size() ? text.substr(pos, count) : std::wstring();
}

}  // namespace

CommandLineForm ParseCommandLine(const std::wstring& commandLine) {
  CommandLineForm form;
  form.openConsole = commandLine == L"debug";
  if (const std::size_t dmp = commandLine.find(L"-dmp "); dmp != std::wstring::npos) {
    form.kind = CommandLineForm::Kind::kCrashPackage;
    form.logFileName = commandLine.substr(dmp + 5);
    form.category = "CrashDmp";
  } else if (const std::size_t close = commandLine.find(L"-close"); close != std::wstring::npos) {
    form.kind = CommandLineForm::Kind::kClosePackage;
    form.category = WideToAnsi(SafeSubstr(commandLine, 1, 7));
    form.logFileName = SafeSubstr(commandLine, close + 9);
  }
  return form;
}

std::wstring JoinArguments(int argc, char** argv) {
  std::wstring joined;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) joined += L' ';
    joined += Utf8ToWide(argv[i]);
  }
  return joined;
}
