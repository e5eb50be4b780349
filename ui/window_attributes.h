#ifndef UI_WINDOW_ATTRIBUTES_H_
#define UI_WINDOW_ATTRIBUTES_H_

#include "ui/color.h"
#include "ui/rect.h"
#include "ui/size.h"

namespace ui {

// Attributes of a layout's `<Window>` root.
struct WindowAttributes {
  Size size;      // initial client size
  Size min_size;  // 0 = unlimited
  Size max_size;
  // Drag area as written: the left/right margins, the top offset and the
  // height (0: the area is the top `caption.top` pixels).
  Rect caption;
  Size round_corner;
  Color link_color = 0xFF0066CC;
  Color link_hover_color = 0xFF3399FF;
  Color bk_color = kColorNone;
};

}  // namespace ui

#endif  // UI_WINDOW_ATTRIBUTES_H_
