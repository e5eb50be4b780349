#ifndef UI_PANGO_FONT_H_
#define UI_PANGO_FONT_H_

#include "ui/font.h"

typedef struct _PangoFontDescription PangoFontDescription;

namespace ui {

// Family, pixel size, weight and style of a font-table entry (underline is a
// text attribute, not part of a description). The caller frees the result.
PangoFontDescription* CreateFontDescription(const Font& font);

}  // namespace ui

#endif  // UI_PANGO_FONT_H_
