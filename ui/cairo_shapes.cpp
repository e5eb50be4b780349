#include "ui/cairo_shapes.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace ui {

void RoundedRectPath(cairo_t* cr, const Rect& r, Size round) {
  const double rx = std::min(round.width / 2.0, r.Width() / 2.0);
  const double ry = std::min(round.height / 2.0, r.Height() / 2.0);
  if (rx <= 0 || ry <= 0) {
    cairo_rectangle(cr, r.left, r.top, r.Width(), r.Height());
    return;
  }
  // Corner centres clockwise from the top right, with each arc's start angle.
  const double corners[4][3] = {{r.right - rx, r.top + ry, -M_PI / 2},
                                {r.right - rx, r.bottom - ry, 0},
                                {r.left + rx, r.bottom - ry, M_PI / 2},
                                {r.left + rx, r.top + ry, M_PI}};
  cairo_new_sub_path(cr);
  for (const auto& c : corners) {
    cairo_save(cr);
    cairo_translate(cr, c[0], c[1]);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, c[2], c[2] + M_PI / 2);
    cairo_restore(cr);
  }
  cairo_close_path(cr);
}

}  // namespace ui
