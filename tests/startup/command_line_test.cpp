#include "Common/command_line.h"

#include <gtest/gtest.h>

namespace {

using Kind = CommandLineForm::Kind;

TEST(CommandLine, FormsAreRecognisedAnywhere) {
  struct Case {
    const wchar_t* line;
    Kind kind;
    bool console;
    const wchar_t* logFileName;
    const char* category;
  };
  const Case cases[] = {
      {L"", Kind::kNormal, false, L"", ""},
      {L"debug", Kind::kNormal, true, L"", ""},
      {L"debug ", Kind::kNormal, false, L"", ""},
      {L"debug x", Kind::kNormal, false, L"", ""},
      {L"DEBUG", Kind::kNormal, false, L"", ""},
      {L"-dmp brisko_setup_20261211.log", Kind::kCrashPackage, false, L"brisko_setup_20261211.log", "CrashDmp"},
      {L"some text -dmp a b.log", Kind::kCrashPackage, false, L"a b.log", "CrashDmp"},
      {L"-dmp", Kind::kNormal, false, L"", ""},  // the blank belongs to the switch
      {L"-DMP a.log", Kind::kNormal, false, L"", ""},
      {L"-close01 brisko_setup_1.log", Kind::kClosePackage, false, L"brisko_setup_1.log", "close01"},
      {L"-close03 x.log -dmp y.log", Kind::kCrashPackage, false, L"y.log", "CrashDmp"},
      {L"-dmp y.log -close03 x.log", Kind::kCrashPackage, false, L"y.log -close03 x.log", "CrashDmp"},
      {L"-close", Kind::kClosePackage, false, L"", "close"},
      {L"-close0", Kind::kClosePackage, false, L"", "close0"},
  };
  for (const Case& c : cases) {
    const CommandLineForm form = ParseCommandLine(c.line);
    EXPECT_EQ(form.kind, c.kind) << c.line;
    EXPECT_EQ(form.openConsole, c.console) << c.line;
    EXPECT_EQ(form.logFileName, c.logFileName) << c.line;
    EXPECT_EQ(form.category, c.category) << c.line;
  }
}

// The stage and the log name are cut at fixed positions counted from the
// start of the line, so text before "-close" shifts the stage.
TEST(CommandLine, CloseSlicesAtFixedPositions) {
  const CommandLineForm form = ParseCommandLine(L"ab -close02 log.txt");
  EXPECT_EQ(form.kind, Kind::kClosePackage);
  EXPECT_EQ(form.category, "b -clos");
  EXPECT_EQ(form.logFileName, L"log.txt");
}

TEST(CommandLine, ArgumentsAreJoinedByBlanks) {
  char program[] = "installer-stub";
  char a[] = "-dmp";
  char b[] = "brisko setup.log";
  char* argv[] = {program, a, b, nullptr};
  EXPECT_EQ(JoinArguments(3, argv), L"-dmp brisko setup.log");
  EXPECT_EQ(JoinArguments(1, argv), L"");
}

}  // namespace
