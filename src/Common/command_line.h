#pragma once
// The forms of the stub's command line (the whole text after the program).

#include <string>

struct CommandLineForm {
  enum class Kind {
    kNormal,
    kCrashPackage,  // "-dmp <log file name>": package and upload a crash
    kClosePackage,  // "-close<stage> <log file name>": upload the log on close
  };
  Kind kind = Kind::kNormal;
  bool openConsole = false;  // exactly "debug"
  std::wstring logFileName;
  std::string category;  // "CrashDmp", or the close stage such as "close01"
};

// "-dmp " and "-close" are found anywhere, case-sensitively; "-dmp " wins.
CommandLineForm ParseCommandLine(const std::wstring& commandLine);

// The command line as the stub sees it on Windows: the arguments after the
// program joined by blanks. Copies the stub starts of itself pass their
// parameter text as one argument, so it arrives unchanged.
std::wstring JoinArguments(int argc, char** argv);
