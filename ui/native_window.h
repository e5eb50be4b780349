#ifndef UI_NATIVE_WINDOW_H_
#define UI_NATIVE_WINDOW_H_

#include <memory>
#include <string>

#include "ui/rect.h"
#include "ui/size.h"

namespace ui {

class PaintManager;

// The platform side of a WindowBase: a toplevel on the screen, or a headless
// stand-in that only remembers its geometry.
class NativeWindow {
 public:
  // What the platform reports back to the window.
  class Delegate {
   public:
    // The user (or the window manager) asked the window to close.
    virtual void OnCloseRequested() = 0;
    virtual void OnClientSizeChanged(int width, int height) = 0;

   protected:
    ~Delegate() = default;
  };

  virtual ~NativeWindow() = default;

  virtual bool IsHeadless() const = 0;
  virtual void SetTitle(const std::wstring& title) = 0;
  virtual void Show(bool show, bool take_focus) = 0;
  virtual void Present() = 0;
  virtual void Minimize() = 0;
  // Centres the window over its owner, or on the screen.
  virtual void Center() = 0;
  // Outer position and size on the screen.
  virtual Rect GetRect() const = 0;
  virtual void Move(int x, int y) = 0;
  virtual void ResizeClient(int width, int height) = 0;
  virtual void Invalidate(const Rect& rect) = 0;
};

// A GTK toplevel when `headless` is false and a display is available; the
// headless stand-in otherwise. `owner` may be null.
std::unique_ptr<NativeWindow> CreateNativeWindow(bool headless, NativeWindow::Delegate& delegate,
                                                 PaintManager& manager, NativeWindow* owner,
                                                 const std::wstring& class_name, Size client);

}  // namespace ui

#endif  // UI_NATIVE_WINDOW_H_
