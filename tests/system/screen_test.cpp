// The primary screen through GDK, against a private Xvfb (1280x1024).
#include <gdk/gdk.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "fixtures/scoped_env.h"
#include "fixtures/xvfb_server.h"
#include "system/screen.h"

namespace {

// Opens the Xvfb display as GDK's default one for one scope.
class OpenDisplay {
 public:
  OpenDisplay() {
    const std::string& name = test::XvfbServer::Display();
    if (name.empty()) return;
    display_ = gdk_display_open(name.c_str());
    if (display_) gdk_display_manager_set_default_display(gdk_display_manager_get(), display_);
  }
  ~OpenDisplay() {
    if (display_) gdk_display_close(display_);
  }
  OpenDisplay(const OpenDisplay&) = delete;
  OpenDisplay& operator=(const OpenDisplay&) = delete;

  bool ok() const { return display_ != nullptr; }

 private:
  GdkDisplay* display_ = nullptr;
};

class ScreenTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { gdk_set_allowed_backends("x11"); }

  void Expect(std::int32_t width, std::int32_t height, double scale) {
    std::int32_t w = -1;
    std::int32_t h = -1;
    EXPECT_DOUBLE_EQ(GetScreenResolution(w, h), scale);
    EXPECT_EQ(w, width);
    EXPECT_EQ(h, height);
  }
};

TEST_F(ScreenTest, NoDisplayGivesZeroSizeAndScaleOne) {
  ASSERT_EQ(gdk_display_get_default(), nullptr);
  Expect(0, 0, 1.0);
}

TEST_F(ScreenTest, ThePrimaryMonitorInDevicePixels) {
  test::ScopedEnv noScale("GDK_SCALE", std::nullopt);
  OpenDisplay display;
  if (!display.ok()) GTEST_SKIP() << "no X server (Xvfb) available";
  Expect(1280, 1024, 1.0);
}

TEST_F(ScreenTest, AScaledDisplayReportsDevicePixelsAndItsScale) {
  test::ScopedEnv scale("GDK_SCALE", "2");
  OpenDisplay display;
  if (!display.ok()) GTEST_SKIP() << "no X server (Xvfb) available";
  Expect(1280, 1024, 2.0);
}

TEST_F(ScreenTest, AClosedDisplayCountsAsNone) {
  {
    OpenDisplay display;
    if (!display.ok()) GTEST_SKIP() << "no X server (Xvfb) available";
  }
  Expect(0, 0, 1.0);
}

}  // namespace
