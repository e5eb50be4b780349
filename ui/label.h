#ifndef UI_LABEL_H_
#define UI_LABEL_H_

#include "ui/control.h"

namespace ui {

// A control that draws its text; with `showhtml` the text is inline markup
// whose links can be clicked.
class Label : public Control {
 public:
  explicit Label(std::string class_name = "Label");

  // The control's area minus the text padding.
  Rect GetTextRect() const;
  // Index of the markup link at a point, or -1.
  int LinkAt(int x, int y) const;
  // The target of link `index` (its text when the markup gives none).
  std::wstring GetLinkTarget(int index) const;

  bool WantsMouseAt(int x, int y) const override;
};

}  // namespace ui

#endif  // UI_LABEL_H_
