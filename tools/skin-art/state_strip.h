// Buttons, check boxes and options take one image holding their four states
// side by side: normal, hot, pushed, disabled.
#pragma once

#include <functional>

#include "canvas.h"

namespace skinart {

enum class State { kNormal, kHot, kPushed, kDisabled };

using StatePainter = std::function<void(cairo_t*, Box, State)>;

// Paints `paint` into each quarter of `box`, left to right, clipped to it.
void PaintStateStrip(cairo_t* cr, Box box, const StatePainter& paint);

// One colour per state, in state order.
struct StateColours {
  Colour normal;
  Colour hot;
  Colour pushed;
  Colour disabled;

  Colour For(State state) const;
};

}  // namespace skinart
