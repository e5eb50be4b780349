#ifndef UI_TEXT_LAYOUT_H_
#define UI_TEXT_LAYOUT_H_

#include <string_view>

#include "ui/color.h"
#include "ui/markup.h"
#include "ui/rect.h"
#include "ui/text_style.h"

typedef struct _PangoLayout PangoLayout;
typedef struct _cairo cairo_t;

namespace ui {

class PaintManager;

// A control's text laid out with pango inside a box: font from the window's
// table, alignment, wrapping, ellipsis and markup as the style says. Painting
// and link hit tests share it so that they agree on where every glyph is.
class TextLayout {
 public:
  TextLayout(const PaintManager& manager, std::wstring_view text, const TextStyle& style,
             const Rect& box, int hot_link = -1);
  TextLayout(const TextLayout&) = delete;
  TextLayout& operator=(const TextLayout&) = delete;
  ~TextLayout();

  // Draws the text in `color` (markup colours override it), clipped to the box.
  void Paint(cairo_t* cr, Color color) const;
  // The markup link under a point, or -1.
  int LinkAt(int x, int y) const;

 private:
  MarkupText markup_;
  PangoLayout* layout_;
  Rect box_;
  int x_ = 0;  // where the layout's origin lands
  int y_ = 0;
};

}  // namespace ui

#endif  // UI_TEXT_LAYOUT_H_
