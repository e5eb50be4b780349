#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "fixtures/xvfb_server.h"
#include "tests/ui/test_support.h"
#include "ui/gtk/gtk_window_host.h"
#include "ui/message_loop.h"
#include "ui/resources.h"
#include "ui/window_base.h"

namespace {

using namespace std::chrono_literals;

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
    const std::string& display = test::XvfbServer::Display();
    if (display.empty()) return;
    setenv("DISPLAY", display.c_str(), 1);
    setenv("GDK_BACKEND", "x11", 1);
    setenv("NO_AT_BRIDGE", "1", 1);
    ASSERT_TRUE(ui::InitializeUi(nullptr, nullptr));
    ui::SetResourcePackage(ui_test::TestSkin());
    running_ = true;
  }

  static void TearDownTestSuite() {
    ui::SetResourcePackage(nullptr);
    if (GdkDisplay* display = gdk_display_get_default()) gdk_display_close(display);
  }

  void SetUp() override {
    if (!running_) GTEST_SKIP() << "no X server (Xvfb) available";
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

  static bool running_;
};

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
  // Centred on the 1280 x 1024 screen of the test server.
  EXPECT_EQ(window.GetWindowRect().left, (1280 - 400) / 2);
  EXPECT_EQ(window.GetWindowRect().top, (1024 - 300) / 2);
  EXPECT_EQ(window.GetPaintManager().GetClientSize(), (ui::Size{400, 300}));
  window.BringToFront();

  window.Close();
  EXPECT_FALSE(window.IsWindow());
  EXPECT_EQ(window.final_calls, 1);
  EXPECT_EQ(window.GetNativeWindow(), nullptr);
  ui::PumpPendingMessages();
}

// The creation size is replaced by the layout's, as the skin sizes its window.
TEST_F(GtkHostTest, WindowManagerCloseGoesThroughClose) {
  SkinWindow window;
  ASSERT_TRUE(window.Create(nullptr, L"Installer", 0, 0, 320, 240));
  window.ShowWindow(true, false);
  GtkWidget* widget = WidgetOf(window);
  ASSERT_TRUE(PumpUntil([&] { return gtk_widget_get_mapped(widget); }));
  EXPECT_EQ(window.GetPaintManager().GetClientSize(), (ui::Size{400, 300}));
  gtk_window_close(GTK_WINDOW(widget));  // as the window manager's close would
  ASSERT_TRUE(PumpUntil([&] { return !window.IsWindow(); }));
  EXPECT_EQ(window.final_calls, 1);
}

}  // namespace
