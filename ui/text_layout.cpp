#include "ui/text_layout.h"

#include <pango/pangocairo.h>

#include "ui/paint_manager.h"
#include "ui/pango_font.h"
#include "platform/utf8.h"

namespace ui {
namespace {

// Layouts are measured the same way on and off screen: one context per
// thread from the default cairo font map.
PangoContext* SharedContext() {
  struct Holder {
    PangoContext* context = pango_font_map_create_context(pango_cairo_font_map_get_default());
    ~Holder() { g_object_unref(context); }
  };
  thread_local Holder holder;
  return holder.context;
}

PangoAlignment ToPango(HorizontalAlign align) {
  switch (align) {
    case HorizontalAlign::kCenter: return PANGO_ALIGN_CENTER;
    case HorizontalAlign::kRight: return PANGO_ALIGN_RIGHT;
    case HorizontalAlign::kLeft: break;
  }
  return PANGO_ALIGN_LEFT;
}

int HorizontalOffset(HorizontalAlign align, int free_space) {
  switch (align) {
    case HorizontalAlign::kCenter: return free_space / 2;
    case HorizontalAlign::kRight: return free_space;
    case HorizontalAlign::kLeft: break;
  }
  return 0;
}

int VerticalOffset(VerticalAlign align, int free_space) {
  switch (align) {
    case VerticalAlign::kCenter: return free_space / 2;
    case VerticalAlign::kBottom: return free_space;
    case VerticalAlign::kTop: break;
  }
  return 0;
}

}  // namespace

TextLayout::TextLayout(const PaintManager& manager, std::wstring_view text,
                       const TextStyle& style, const Rect& box, int hot_link)
    : layout_(pango_layout_new(SharedContext())), box_(box) {
  const Font& font = manager.GetFont(style.font);
  PangoFontDescription* desc = CreateFontDescription(font);
  pango_layout_set_font_description(layout_, desc);
  pango_font_description_free(desc);

  PangoAttrList* attrs = nullptr;
  if (style.show_html) {
    markup_ = ParseMarkup(text);
    const WindowAttributes& window = manager.GetWindowAttributes();
    attrs = CreatePangoAttributes(markup_, manager.GetFonts(), window.link_color,
                                  window.link_hover_color, hot_link);
  } else {
    markup_.text = platform::ToUtf8(text);
    attrs = pango_attr_list_new();
  }
  if (font.underline) {
    pango_attr_list_insert_before(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  }
  pango_layout_set_text(layout_, markup_.text.c_str(), static_cast<int>(markup_.text.size()));
  pango_layout_set_attributes(layout_, attrs);
  pango_attr_list_unref(attrs);

  pango_layout_set_alignment(layout_, ToPango(style.halign));
  const bool fills_width = style.multiline || style.end_ellipsis;
  if (fills_width) pango_layout_set_width(layout_, box.Width() * PANGO_SCALE);
  if (style.multiline) {
    pango_layout_set_wrap(layout_, PANGO_WRAP_WORD_CHAR);
  } else if (style.end_ellipsis) {
    pango_layout_set_ellipsize(layout_, PANGO_ELLIPSIZE_END);
  }

  PangoRectangle logical;
  pango_layout_get_pixel_extents(layout_, nullptr, &logical);
  // With a width pango aligns the lines itself; without one the block is
  // placed here.
  x_ = fills_width ? box.left
                   : box.left + HorizontalOffset(style.halign, box.Width() - logical.width) -
                         logical.x;
  y_ = box.top + VerticalOffset(style.valign, box.Height() - logical.height) - logical.y;
}

TextLayout::~TextLayout() { g_object_unref(layout_); }

void TextLayout::Paint(cairo_t* cr, Color color) const {
  if (markup_.text.empty() || box_.IsEmpty()) return;
  cairo_save(cr);
  cairo_rectangle(cr, box_.left, box_.top, box_.Width(), box_.Height());
  cairo_clip(cr);
  cairo_set_source_rgba(cr, ColorRed(color), ColorGreen(color), ColorBlue(color),
                        ColorAlpha(color));
  cairo_move_to(cr, x_, y_);
  pango_cairo_show_layout(cr, layout_);
  cairo_restore(cr);
}

int TextLayout::LinkAt(int x, int y) const {
  if (markup_.links.empty() || !box_.Contains(x, y)) return -1;
  int index = 0;
  int trailing = 0;
  if (!pango_layout_xy_to_index(layout_, (x - x_) * PANGO_SCALE, (y - y_) * PANGO_SCALE,
                                &index, &trailing)) {
    return -1;
  }
  for (size_t i = 0; i < markup_.links.size(); ++i) {
    const MarkupText::Link& link = markup_.links[i];
    if (static_cast<size_t>(index) >= link.start && static_cast<size_t>(index) < link.end) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

}  // namespace ui
