#ifndef UI_COMBO_DROP_DOWN_H_
#define UI_COMBO_DROP_DOWN_H_

#include <vector>

#include "ui/rect.h"
#include "ui/size.h"

namespace ui {

class Combo;

// The list of an open Combo, drawn by the painter over the window: below the
// combo, or above it when there is more room there.
class ComboDropDown {
 public:
  struct Row {
    int item = 0;  // index of the combo's item
    Rect rect;
  };

  // Lists the combo's visible items within a client area of `client`.
  void Open(Combo& combo, Size client);
  void Close();

  bool IsOpen() const { return combo_ != nullptr; }
  Combo* GetCombo() const { return combo_; }
  const Rect& GetRect() const { return rect_; }
  const std::vector<Row>& GetRows() const { return rows_; }

  // The combo item under a point, or -1.
  int ItemAt(int x, int y) const;
  int GetHotItem() const { return hot_item_; }
  // true when the hot item changed.
  bool SetHotItem(int item);

 private:
  Combo* combo_ = nullptr;
  Rect rect_;
  std::vector<Row> rows_;
  int hot_item_ = -1;
};

}  // namespace ui

#endif  // UI_COMBO_DROP_DOWN_H_
