#include "state_strip.h"

#include <array>

namespace skinart {

void PaintStateStrip(cairo_t* cr, Box box, const StatePainter& paint) {
  constexpr std::array kOrder{State::kNormal, State::kHot, State::kPushed, State::kDisabled};
  const double width = box.width / kOrder.size();
  for (std::size_t i = 0; i < kOrder.size(); ++i) {
    const Box cell{box.x + width * static_cast<double>(i), box.y, width, box.height};
    cairo_save(cr);
    cairo_rectangle(cr, cell.x, cell.y, cell.width, cell.height);
    cairo_clip(cr);
    paint(cr, cell, kOrder[i]);
    cairo_restore(cr);
  }
}

Colour StateColours::For(State state) const {
  switch (state) {
    case State::kHot:
      return hot;
    case State::kPushed:
      return pushed;
    case State::kDisabled:
      return disabled;
    case State::kNormal:
      break;
  }
  return normal;
}

}  // namespace skinart
