#ifndef UI_COMBO_H_
#define UI_COMBO_H_

#include "ui/container.h"

namespace ui {

// A drop-down list. Its children are the items; they are not laid out in the
// combo's box but listed by the window's drop-down when the combo is clicked.
class Combo : public Container {
 public:
  Combo();

  // -1 when nothing (or no existing item) is selected.
  int GetCurSel() const;
  // Raises "itemselect" (wparam: new index, lparam: old) when the selection
  // changes. false when `index` is not an item. `take_focus` is accepted for
  // the callers' sake; the combo has no keyboard focus to take.
  bool SelectItem(int index, bool take_focus = false);
  // The selected item's text.
  std::wstring GetText() const override;

  void SetAttribute(std::string_view name, std::string_view value) override;
  Control* FindControlAt(int x, int y) override;
  bool WantsMouseAt(int x, int y) const override;
  // Opens the drop-down.
  void Activate() override;

 protected:
  void ArrangeChildren(const Rect& inner) override;

 private:
  int selected_ = -1;
};

}  // namespace ui

#endif  // UI_COMBO_H_
