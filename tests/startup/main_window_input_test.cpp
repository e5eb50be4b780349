// The real stub driven through the X server like a user's mouse.
#include <gtest/gtest.h>

#include <csignal>

#include "fixtures/run_command.h"
#include "startup/stub_sandbox.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

class MainWindowInput : public ::testing::Test {
 protected:
  void SetUp() override {
    if (sandbox_.display().empty()) GTEST_SKIP() << "no X server (Xvfb) available";
    const std::string id = std::to_string(50000 + getpid() % 10000);
    stub_ = sandbox_.Start(sandbox_.MakeStub(sandbox_.CopySkin("skin", id), "stub"));
    log_ = sandbox_.WaitForLogLine(test::kWindowReady, 20s);
    ASSERT_FALSE(log_.empty());
    window_ = Xdotool({"search", "--sync", "--onlyvisible", "--name", "Brisko Setup"});
    ASSERT_FALSE(window_.empty());
  }

  // Runs xdotool on the sandbox's display with the pointer placed at (x, y)
  // of the stub's window, then `then` (a click, a press, ...).
  void PointerAt(int x, int y, const std::vector<std::string>& then = {}) {
    std::vector<std::string> args = {"mousemove", "--window", window_, std::to_string(x), std::to_string(y)};
    args.insert(args.end(), then.begin(), then.end());
    Xdotool(args);
  }

  std::string Xdotool(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {"env", "DISPLAY=" + sandbox_.display(), "xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    const test::CommandResult result = test::RunCommand(argv);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return result.out.substr(0, result.out.find('\n'));
  }

  static constexpr int kCloseX = 624, kCloseY = 24;  // the close button, top right
  test::StubSandbox sandbox_;
  std::unique_ptr<test::ChildProcess> stub_;
  fs::path log_;
  std::string window_;
};

TEST_F(MainWindowInput, CloseButtonEndsTheStubInOrder) {
  PointerAt(300, 200);  // hover first, as a user's pointer arrives
  PointerAt(kCloseX, kCloseY, {"click", "1"});
  EXPECT_EQ(stub_->WaitForExit(test::kShutdownLimit), 0);
  EXPECT_NE(test::ReadFile(log_).find(" Wait exit 3"), std::string::npos);
}

// A press that leaves the button before the release is no click.
TEST_F(MainWindowInput, ReleaseOutsideTheButtonDoesNotClose) {
  PointerAt(kCloseX, kCloseY, {"mousedown", "1"});
  PointerAt(300, 300, {"mouseup", "1"});
  EXPECT_FALSE(stub_->WaitForExit(1s).has_value()) << "the stub closed without a click";
  stub_->Signal(SIGTERM);
  EXPECT_EQ(stub_->WaitForExit(test::kShutdownLimit), 0);
}

}  // namespace
