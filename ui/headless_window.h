#ifndef UI_HEADLESS_WINDOW_H_
#define UI_HEADLESS_WINDOW_H_

#include "ui/native_window.h"

namespace ui {

// A window without a screen: it keeps its geometry so that the application's
// calls behave, and shows and paints nothing.
class HeadlessWindow : public NativeWindow {
 public:
  explicit HeadlessWindow(Size client) : rect_{0, 0, client.width, client.height} {}

  bool IsHeadless() const override { return true; }
  void SetTitle(const std::wstring&) override {}
  void Show(bool, bool) override {}
  void Present() override {}
  void Minimize() override {}
  // There is no screen to centre on.
  void Center() override {}
  Rect GetRect() const override { return rect_; }
  void Move(int x, int y) override {
    rect_ = Rect{x, y, x + rect_.Width(), y + rect_.Height()};
  }
  void ResizeClient(int width, int height) override {
    rect_.right = rect_.left + width;
    rect_.bottom = rect_.top + height;
  }
  void Invalidate(const Rect&) override {}

 private:
  Rect rect_;
};

}  // namespace ui

#endif  // UI_HEADLESS_WINDOW_H_
