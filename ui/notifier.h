#ifndef UI_NOTIFIER_H_
#define UI_NOTIFIER_H_

#include "ui/notify.h"

namespace ui {

// Receives the notifications of a window's controls.
class INotifyUI {
 public:
  virtual ~INotifyUI() = default;
  virtual void Notify(ui::Notify& msg) = 0;
};

}  // namespace ui

#endif  // UI_NOTIFIER_H_
