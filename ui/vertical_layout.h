#ifndef UI_VERTICAL_LAYOUT_H_
#define UI_VERTICAL_LAYOUT_H_

#include "ui/box_layout.h"

namespace ui {

// Children from top to bottom.
class VerticalLayout : public BoxLayout {
 public:
  VerticalLayout() : BoxLayout("VerticalLayout", Axis::kVertical) {}
};

}  // namespace ui

#endif  // UI_VERTICAL_LAYOUT_H_
