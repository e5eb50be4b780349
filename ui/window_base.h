#ifndef UI_WINDOW_BASE_H_
#define UI_WINDOW_BASE_H_

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "ui/native_window.h"
#include "ui/notifier.h"
#include "ui/paint_manager.h"
#include "ui/rect.h"

namespace ui {

// The base of the application's windows: a skinned layout from the resource
// package shown in a native window (or headless), with Windows-style
// messages and timers delivered through HandleMessage() on the UI thread.
class WindowBase : public INotifyUI, private NativeWindow::Delegate {
 public:
  WindowBase();
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;
  virtual ~WindowBase();

  // Builds GetSkinFolder() + GetSkinFile() from ResourcePackage(), attaches
  // it, creates an undecorated window of the layout's size (`width`/`height`
  // when the layout has none) on a display, or a headless one without, then
  // sends "windowinit" and calls InitWindow(). false when the skin cannot be
  // built or the window already exists.
  bool Create(WindowBase* owner, const std::wstring& title, int x, int y, int width, int height);
  // The same, never with a native window.
  bool CreateHeadless();

  void CenterWindow();
  void ShowWindow(bool show = true, bool takeFocus = true);
  // Presents the window to the user.
  void BringToFront();
  void Minimize();
  void ResizeClient(int width, int height);
  Rect GetWindowRect() const;
  void MoveWindow(int x, int y, int width, int height);
  // Sends WM_CLOSE to HandleMessage() now; unless a handler keeps the window,
  // it is destroyed (WM_DESTROY, then OnFinalMessage()). `code` is the
  // message's wparam.
  void Close(unsigned code = 0);
  // Queues a message for HandleMessage() on the UI thread. Callable from any
  // thread while the object exists; false (and dropped) once the window is
  // destroyed. Messages still queued at destruction are dropped.
  bool PostMessage(unsigned msg, std::uintptr_t wparam = 0, std::intptr_t lparam = 0);
  // WM_TIMER with wparam = id every `elapseMs`; setting an id again restarts it.
  bool SetTimer(unsigned id, unsigned elapseMs);
  bool KillTimer(unsigned id);

  PaintManager& GetPaintManager() { return manager_; }
  // Created and not yet destroyed.
  bool IsWindow() const;
  bool IsHeadless() const;
  // The platform window; nullptr when there is none.
  NativeWindow* GetNativeWindow() const { return native_.get(); }

 protected:
  virtual std::wstring GetWindowClassName() const = 0;
  virtual std::wstring GetSkinFolder() const { return L""; }
  virtual std::wstring GetSkinFile() const = 0;
  virtual void InitWindow() {}
  virtual void OnClick(ui::Notify&) {}
  virtual void OnItemSelect(ui::Notify&) {}
  virtual void OnSelectChanged(ui::Notify&) {}
  // Routes "click", "itemselect" and "selectchanged" to the three above.
  void Notify(ui::Notify& msg) override;
  // The default handles WM_CLOSE by destroying the window. A message left
  // unhandled gets that default too, so an override that keeps the window
  // open on WM_CLOSE must set `handled`.
  virtual std::intptr_t HandleMessage(unsigned msg, std::uintptr_t wparam, std::intptr_t lparam,
                                      bool& handled);
  // After the window is destroyed; the object itself stays alive.
  virtual void OnFinalMessage() {}

 private:
  // Shared with queued messages, which must not reach a destroyed window.
  struct Liveness {
    explicit Liveness(WindowBase* w) : window(w) {}
    std::atomic<bool> alive{true};
    WindowBase* const window;
  };

  bool CreateWindow(WindowBase* owner, const std::wstring& title, int x, int y, int width,
                    int height, bool headless);
  void Dispatch(unsigned msg, std::uintptr_t wparam, std::intptr_t lparam);
  void Destroy();
  void TearDown();
  std::shared_ptr<Liveness> CurrentLiveness() const;

  void OnCloseRequested() override;
  void OnClientSizeChanged(int width, int height) override;

  PaintManager manager_;
  std::unique_ptr<NativeWindow> native_;
  mutable std::mutex liveness_mutex_;
  std::shared_ptr<Liveness> liveness_;
  std::map<unsigned, unsigned> timers_;  // window timer id -> loop timer
};

}  // namespace ui

#endif  // UI_WINDOW_BASE_H_
