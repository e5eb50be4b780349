#include "ui/native_window.h"

#include "ui/gtk/gtk_window_host.h"
#include "ui/headless_window.h"
#include "ui/message_loop.h"

namespace ui {

std::unique_ptr<NativeWindow> CreateNativeWindow(bool headless, NativeWindow::Delegate& delegate,
                                                 PaintManager& manager, NativeWindow* owner,
                                                 const std::wstring& class_name, Size client) {
  if (headless || !HasDisplay()) return std::make_unique<HeadlessWindow>(client);
  return std::make_unique<GtkWindowHost>(delegate, manager, dynamic_cast<GtkWindowHost*>(owner),
                                         class_name, client);
}

}  // namespace ui
