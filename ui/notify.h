#ifndef UI_NOTIFY_H_
#define UI_NOTIFY_H_

#include <cstdint>
#include <string>

namespace ui {

class Control;

// A notification raised by a control ("click", "selectchanged", ...).
// Classes deriving from INotifyUI or WindowBase must spell the type
// `ui::Notify`: inside them the unqualified name is the member function.
struct Notify {
  std::string type;
  Control* sender = nullptr;
  std::uintptr_t wparam = 0;
  std::intptr_t lparam = 0;
  std::wstring link;  // target of a "link" notification
};

}  // namespace ui

#endif  // UI_NOTIFY_H_
