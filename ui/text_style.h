#ifndef UI_TEXT_STYLE_H_
#define UI_TEXT_STYLE_H_

#include <optional>

#include "ui/color.h"
#include "ui/rect.h"

namespace ui {

enum class HorizontalAlign { kLeft, kCenter, kRight };
enum class VerticalAlign { kTop, kCenter, kBottom };

// How a control draws its text.
struct TextStyle {
  int font = -1;  // id in the window's font table; -1 is the default font
  Color text_color = kColorBlack;
  std::optional<Color> disabled_text_color;
  HorizontalAlign halign = HorizontalAlign::kLeft;
  VerticalAlign valign = VerticalAlign::kCenter;
  Rect padding;  // inset of the text inside the control
  bool show_html = false;
  bool multiline = false;
  bool end_ellipsis = false;
};

}  // namespace ui

#endif  // UI_TEXT_STYLE_H_
