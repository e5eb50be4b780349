#ifndef UI_CAIRO_SHAPES_H_
#define UI_CAIRO_SHAPES_H_

#include "ui/rect.h"
#include "ui/size.h"

typedef struct _cairo cairo_t;

namespace ui {

// Adds a rectangle with elliptic corners of `round` (diameters, as in the
// `borderround` and `roundcorner` attributes) to the current path.
void RoundedRectPath(cairo_t* cr, const Rect& rect, Size round);

}  // namespace ui

#endif  // UI_CAIRO_SHAPES_H_
