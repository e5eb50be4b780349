#include <fcntl.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "tests/ui/test_support.h"
#include "ui/gtk/gtk_window_host.h"
#include "ui/message_loop.h"
#include "ui/resources.h"
#include "ui/window_base.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;

bool XvfbInstalled() {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  for (size_t start = 0; start <= dirs.size();) {
    const size_t end = std::min(dirs.find(':', start), dirs.size());
    if (access((dirs.substr(start, end - start) + "/Xvfb").c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

class SkinWindow : public ui::WindowBase {
 public:
  int final_calls = 0;

 protected:
  std::wstring GetWindowClassName() const override { return L"SkinWindow"; }
  std::wstring GetSkinFolder() const override { return L"skin"; }
  std::wstring GetSkinFile() const override { return L"main.xml"; }
  void OnFinalMessage() override { ++final_calls; }
};

// Runs the tests against a private Xvfb. The suite closes GTK's display when
// it ends, so it is linked last and nothing after it may use GTK.
class GtkHostTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!XvfbInstalled()) return;
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    const std::string fd = std::to_string(fds[1]);
    const char* argv[] = {"Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
                          "-nolisten", "tcp", nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const int spawned = posix_spawnp(&xvfb_, "Xvfb", &actions, nullptr,
                                     const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    ASSERT_EQ(spawned, 0) << "Xvfb is installed but does not start";
    // Xvfb writes the display number once it accepts connections.
    std::string display;
    pollfd waiting{fds[0], POLLIN, 0};
    char ch = 0;
    while (poll(&waiting, 1, 10000) == 1 && read(fds[0], &ch, 1) == 1 && ch != '\n') display += ch;
    close(fds[0]);
    ASSERT_FALSE(display.empty()) << "Xvfb did not report a display";
    setenv("DISPLAY", (":" + display).c_str(), 1);
    setenv("GDK_BACKEND", "x11", 1);
    setenv("NO_AT_BRIDGE", "1", 1);
    ASSERT_TRUE(ui::InitializeUi(nullptr, nullptr));
    ui::SetResourcePackage(ui_test::TestSkin());
    running_ = true;
  }

  static void TearDownTestSuite() {
    ui::SetResourcePackage(nullptr);
    if (GdkDisplay* display = gdk_display_get_default()) gdk_display_close(display);
    if (xvfb_ > 0) {
      kill(xvfb_, SIGTERM);
      waitpid(xvfb_, nullptr, 0);
    }
  }

  void SetUp() override {
    if (!XvfbInstalled()) GTEST_SKIP() << "Xvfb is not installed";
    ASSERT_TRUE(running_);
  }

  template <class Predicate>
  static bool PumpUntil(Predicate done) {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      ui::PumpPendingMessages();
      std::this_thread::sleep_for(2ms);
    }
    return true;
  }

  static GtkWidget* WidgetOf(const ui::WindowBase& window) {
    auto* host = dynamic_cast<ui::GtkWindowHost*>(window.GetNativeWindow());
    return host ? host->GetWidget() : nullptr;
  }

  static pid_t xvfb_;
  static bool running_;
};

pid_t GtkHostTest::xvfb_ = 0;
bool GtkHostTest::running_ = false;

TEST_F(GtkHostTest, ShowsAMappedUndecoratedWindowAndCloses) {
  SkinWindow window;
  ASSERT_TRUE(window.Create(nullptr, L"Installer", 50, 60, 0, 0));
  EXPECT_FALSE(window.IsHeadless());
  GtkWidget* widget = WidgetOf(window);
  ASSERT_NE(widget, nullptr);
  EXPECT_FALSE(gtk_window_get_decorated(GTK_WINDOW(widget)));
  EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(widget)), "Installer");

  window.CenterWindow();
  window.ShowWindow();
  ASSERT_TRUE(PumpUntil([&] { return gtk_widget_get_mapped(widget); }));
  ASSERT_TRUE(PumpUntil([&] { return window.GetWindowRect().Width() == 400; }));
  EXPECT_EQ(window.GetWindowRect().Height(), 300);
  EXPECT_EQ(window.GetPaintManager().GetClientSize(), (ui::Size{400, 300}));
  window.BringToFront();

  window.Close();
  EXPECT_FALSE(window.IsWindow());
  EXPECT_EQ(window.final_calls, 1);
  EXPECT_EQ(window.GetNativeWindow(), nullptr);
  ui::PumpPendingMessages();
}

TEST_F(GtkHostTest, WindowManagerCloseGoesThroughClose) {
  SkinWindow window;
  ASSERT_TRUE(window.Create(nullptr, L"Installer", 0, 0, 320, 240));
  window.ShowWindow(true, false);
  GtkWidget* widget = WidgetOf(window);
  ASSERT_TRUE(PumpUntil([&] { return gtk_widget_get_mapped(widget); }));
  EXPECT_EQ(window.GetPaintManager().GetClientSize(), (ui::Size{320, 240}));
  gtk_window_close(GTK_WINDOW(widget));  // as the window manager's close would
  ASSERT_TRUE(PumpUntil([&] { return !window.IsWindow(); }));
  EXPECT_EQ(window.final_calls, 1);
}

}  // namespace
