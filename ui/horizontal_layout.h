#ifndef UI_HORIZONTAL_LAYOUT_H_
#define UI_HORIZONTAL_LAYOUT_H_

#include "ui/box_layout.h"

namespace ui {

// Children from left to right.
class HorizontalLayout : public BoxLayout {
 public:
  HorizontalLayout() : BoxLayout("HorizontalLayout", Axis::kHorizontal) {}
};

}  // namespace ui

#endif  // UI_HORIZONTAL_LAYOUT_H_
