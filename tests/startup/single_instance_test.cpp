// Start-up as real processes: one instance per downloader id, the auto-run
// exception, diagnostic runs, and skins that are missing or broken.
#include <gtest/gtest.h>

#include <csignal>

#include "fixtures/zip_bytes.h"
#include "startup/stub_sandbox.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr char kActivated[] = " Brought to the front by a second start";

class SingleInstance : public ::testing::Test {
 protected:
  void SetUp() override {
    if (sandbox_.display().empty()) GTEST_SKIP() << "no X server (Xvfb) available";
  }

  // Asks a running stub to end as the session would, and expects the
  // orderly shutdown with exit code 0.
  static void EndOrderly(test::ChildProcess& stub, const fs::path& log) {
    stub.Signal(SIGTERM);
    EXPECT_EQ(stub.WaitForExit(test::kShutdownLimit), 0);
    if (!log.empty()) {
      EXPECT_NE(test::ReadFile(log).find(" Wait exit 3"), std::string::npos);
    }
  }

  // A unique id per test process, so parallel runs never meet.
  static std::string UniqueId(int offset) { return std::to_string(40000 + (getpid() % 10000) * 2 + offset); }

  test::StubSandbox sandbox_;
};

TEST_F(SingleInstance, SecondStartWithTheSameIdBringsTheFirstForward) {
  const fs::path stub = sandbox_.MakeStub(sandbox_.CopySkin("skin", UniqueId(0)), "stub");
  auto first = sandbox_.Start(stub);
  const fs::path log = sandbox_.WaitForLogLine(test::kWindowReady, 20s);
  ASSERT_FALSE(log.empty()) << "the first stub never initialised its window";
  std::this_thread::sleep_for(300ms);

  auto second = sandbox_.Start(stub);
  EXPECT_EQ(second->WaitForExit(10s), 0);
  EXPECT_FALSE(sandbox_.WaitForLogLine(kActivated, 5s).empty());
  EXPECT_EQ(sandbox_.LogFiles().size(), 1u) << "the second start must not open a window";
  EXPECT_FALSE(first->WaitForExit(0ms).has_value());
  EndOrderly(*first, log);
}

TEST_F(SingleInstance, AutoRunLetsTheSecondStartRun) {
  const fs::path stub = sandbox_.MakeStub(sandbox_.CopySkin("skin", UniqueId(0)), "stub");
  test::WriteFile(stub.parent_path() / "cv_downloader.cfg", "[Settings]\nAutoRun=1\n");
  auto first = sandbox_.Start(stub);
  const fs::path firstLog = sandbox_.WaitForLogLine(test::kWindowReady, 20s);
  ASSERT_FALSE(firstLog.empty());
  std::this_thread::sleep_for(300ms);

  auto second = sandbox_.Start(stub);
  const fs::path secondLog = sandbox_.WaitForLogLine(test::kWindowReady, 20s, firstLog);
  EXPECT_FALSE(secondLog.empty()) << "the second start did not open its window";
  EXPECT_EQ(test::CountOccurrences(test::ReadFile(firstLog), kActivated), 0);
  EndOrderly(*second, secondLog);
  EndOrderly(*first, firstLog);
}

TEST_F(SingleInstance, DifferentIdsRunSideBySide) {
  const fs::path stubA = sandbox_.MakeStub(sandbox_.CopySkin("skinA", UniqueId(0)), "stubA");
  const fs::path stubB = sandbox_.MakeStub(sandbox_.CopySkin("skinB", UniqueId(1)), "stubB");
  auto a = sandbox_.Start(stubA);
  const fs::path logA = sandbox_.WaitForLogLine("[Downloader Id]: " + UniqueId(0), 20s);
  ASSERT_FALSE(logA.empty());
  auto b = sandbox_.Start(stubB);
  const fs::path logB = sandbox_.WaitForLogLine("[Downloader Id]: " + UniqueId(1), 20s);
  EXPECT_FALSE(logB.empty());
  EXPECT_EQ(test::CountOccurrences(test::ReadFile(logA), kActivated), 0);
  EndOrderly(*b, logB);
  EndOrderly(*a, logA);
}

TEST_F(SingleInstance, DiagnosticRunsNeedNoWindowAndIgnoreTheRunningInstance) {
  const fs::path stub = sandbox_.MakeStub(sandbox_.CopySkin("skin", UniqueId(0)), "stub");
  auto first = sandbox_.Start(stub);
  const fs::path log = sandbox_.WaitForLogLine(test::kWindowReady, 20s);
  ASSERT_FALSE(log.empty());
  for (const char* args : {"text -dmp brisko_setup_1.log", "-close01 brisko_setup_1.log"}) {
    auto run = sandbox_.Start(stub, {args});
    EXPECT_EQ(run->WaitForExit(10s), 0) << args;
  }
  EXPECT_EQ(sandbox_.LogFiles().size(), 1u);
  EXPECT_EQ(test::CountOccurrences(test::ReadFile(log), kActivated), 0);
  EndOrderly(*first, log);
}

// However the skin is broken, the stub ends with 0 and never crashes; with a
// skin that still has its layouts it shows its window on empty values.
TEST_F(SingleInstance, BrokenSkinsNeverCrashTheStub) {
  const std::string empty;
  const std::string garbage(4096, '\x5a');
  const std::vector<unsigned char> zip = test::MakeZip({{"InstallMainWnd.xml", "<Window size=\"650,560\"/>"}});
  const std::string truncated(reinterpret_cast<const char*>(zip.data()), zip.size() / 2);
  struct Case {
    const char* name;
    const std::string* section;
  };
  const Case cases[] = {
      {"no-section", nullptr}, {"empty", &empty}, {"garbage", &garbage}, {"truncated", &truncated}};
  for (const Case& c : cases) {
    const fs::path stub = sandbox_.MakeStubWithSection(c.section, c.name);
    auto run = sandbox_.Start(stub);
    const std::optional<int> code = run->WaitForExit(20s);
    EXPECT_EQ(code, 0) << c.name;
  }
}

TEST_F(SingleInstance, SkinWithoutConfigurationRunsOnEmptyValues) {
  const fs::path skin = sandbox_.CopySkin("skin", UniqueId(0));
  fs::remove(skin / "configure" / "configure.xml");
  const fs::path stub = sandbox_.MakeStub(skin, "stub");
  auto run = sandbox_.Start(stub);
  const fs::path log = sandbox_.WaitForLogLine("[Downloader Id]: 0 [Site Id]: 0 [Language Id]: 0", 20s);
  ASSERT_FALSE(log.empty()) << "the window did not come up without configuration";
  // The mutex then carries the number 0 and the window class has no id.
  auto second = sandbox_.Start(stub);
  EXPECT_EQ(second->WaitForExit(10s), 0);
  EndOrderly(*run, log);
}

}  // namespace
