#ifndef UI_TAB_LAYOUT_H_
#define UI_TAB_LAYOUT_H_

#include "ui/container.h"

namespace ui {

// Pages over each other; only the selected one is visible.
class TabLayout : public Container {
 public:
  TabLayout();

  // false (and nothing changes) when `index` is not a page.
  bool SelectItem(int index);
  // -1 when the selected index is not a page.
  int GetCurSel() const;

  void SetAttribute(std::string_view name, std::string_view value) override;

 protected:
  void OnChildAdded(Control& child, int index) override;

 private:
  int selected_ = 0;
};

}  // namespace ui

#endif  // UI_TAB_LAYOUT_H_
