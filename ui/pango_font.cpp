#include "ui/pango_font.h"

#include <pango/pango.h>

#include <algorithm>

#include "platform/utf8.h"

namespace ui {

PangoFontDescription* CreateFontDescription(const Font& font) {
  // A size of 0 would make pango fall back to its own default size.
  constexpr int kMinPixels = 1;
  constexpr int kMaxPixels = 512;
  PangoFontDescription* desc = pango_font_description_new();
  pango_font_description_set_family(desc, platform::ToUtf8(font.name).c_str());
  pango_font_description_set_absolute_size(
      desc, std::clamp(font.size, kMinPixels, kMaxPixels) * PANGO_SCALE);
  pango_font_description_set_weight(desc, font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(desc, font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  return desc;
}

}  // namespace ui
