#ifndef UI_CHECK_BOX_H_
#define UI_CHECK_BOX_H_

#include "ui/option.h"

namespace ui {

// An option that ignores groups and toggles on every click.
class CheckBox : public Option {
 public:
  CheckBox() : Option("CheckBox") {}

  bool GetCheck() const { return IsSelected(); }
  void SetCheck(bool check, bool notify = true) { Selected(check, notify); }

 protected:
  bool IsGrouped() const override { return false; }
};

}  // namespace ui

#endif  // UI_CHECK_BOX_H_
