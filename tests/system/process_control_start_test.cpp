// Starting the installed product, directly and detached, and its failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "fixtures/log_capture.h"
#include "fixtures/scoped_env.h"
#include "fixtures/temp_dir.h"
#include "system/process_control.h"
#include "telemetry/user_log_harness.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A program that writes its working directory and arguments to `report`.
fs::path CwdReporter(const fs::path& program, const fs::path& report) {
  fs::create_directories(program.parent_path());
  test::WriteFile(program, "#!/bin/sh\n{ pwd; for a in \"$@\"; do echo \"$a\"; done; } > '" +
                               report.string() + ".part'\nmv '" + report.string() + ".part' '" +
                               report.string() + "'\n");
  fs::permissions(program, fs::perms::owner_all);
  return program;
}

std::string WaitForReport(const fs::path& report) {
  for (int attempt = 0; attempt < 1000 && !fs::exists(report); ++attempt) {
    std::this_thread::sleep_for(10ms);
  }
  return test::ReadFile(report);
}

std::wstring Quoted(const fs::path& path) { return L"\"" + path.wstring() + L"\""; }

// The labels of the StartWindowError events sent.
std::vector<std::string> StartErrorLabels(test::UserLogHarness& harness) {
  harness.Drain();
  const std::string marker = "&ep.cv_category=Other&ep.cv_action=StartWindowError&ep.cv_label=";
  std::vector<std::string> labels;
  for (const std::string& query : harness.record->ga4Queries) {
    const std::size_t at = query.find(marker);
    if (at == std::string::npos) continue;
    const std::size_t start = at + marker.size();
    labels.push_back(query.substr(start, query.find('&', start) - start));
  }
  return labels;
}

bool Logged(const test::LogCapture& log, const std::string& line) {
  const std::vector<std::string> lines = log.lines();
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(StartTargetMainExe, DirectStartRunsInTheProgramsFolder) {
  test::TempDir dir;
  const fs::path folder = dir.path() / "My Apps" / "Prod";
  const fs::path report = dir.path() / "report";
  const fs::path program = CwdReporter(folder / "prod.sh", report);
  struct Case {
    std::wstring command;
    std::string expected;  // the report
  } const cases[] = {
      {Quoted(program), folder.string() + "\n"},
      // A '/' in an argument does not move the working directory.
      {Quoted(program) + L" --url=http://127.0.0.1/x \"a b\"",
       folder.string() + "\n--url=http://127.0.0.1/x\na b\n"},
  };
  for (const Case& c : cases) {
    test::UserLogHarness harness;
    fs::remove(report);
    EXPECT_EQ(FuntionImpl::StartTargetMainExe(c.command, 1, *harness.log), 0);
    EXPECT_EQ(WaitForReport(report), c.expected);
    EXPECT_TRUE(StartErrorLabels(harness).empty());
  }
}

TEST(StartTargetMainExe, DetachedStartRunsTheProgram) {
  // As ourselves: the report's folder is ours only.
  test::ScopedEnv noSudo("SUDO_UID", std::nullopt);
  test::ScopedEnv noPkexec("PKEXEC_UID", std::nullopt);
  test::TempDir dir;
  const fs::path report = dir.path() / "report";
  const fs::path program = CwdReporter(dir.path() / "Prod Dir" / "prod.sh", report);
  test::UserLogHarness harness;
  EXPECT_EQ(FuntionImpl::StartTargetMainExe(Quoted(program), 0, *harness.log), 0);
  EXPECT_EQ(WaitForReport(report), fs::current_path().string() + "\n");
  EXPECT_TRUE(StartErrorLabels(harness).empty());
}

TEST(StartTargetMainExe, FailuresAreLoggedAndReportedWithTheirErrno) {
  test::TempDir dir;
  const fs::path plain = dir.path() / "prod.txt";
  test::WriteFile(plain, "no program");
  const fs::path missing = dir.path() / "gone" / "prod.sh";
  struct Case {
    std::wstring command;
    int startFlag;
    std::string line;
    std::string label;
  } const cases[] = {
      {Quoted(missing), 0, " CreateProcess failed1 (2)", "2"},
      {L"", 0, " CreateProcess failed1 (2)", "2"},
      {Quoted(plain), 0, " CreateProcess failed2 (13)", "13"},
      {Quoted(missing), 1, "CreateProcess failed3 (2)", "2"},
      {Quoted(plain), 1, "CreateProcess failed3 (13)", "13"},
  };
  for (const Case& c : cases) {
    test::LogCapture log;
    test::UserLogHarness harness;
    EXPECT_EQ(FuntionImpl::StartTargetMainExe(c.command, c.startFlag, *harness.log), -1) << c.line;
    EXPECT_TRUE(Logged(log, c.line)) << c.line;
    EXPECT_EQ(StartErrorLabels(harness), std::vector<std::string>{c.label}) << c.line;
  }
}

}  // namespace
