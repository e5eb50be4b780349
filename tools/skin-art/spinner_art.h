// The launch window: a card with a spinner, shown while the stub starts.
#pragma once

#include "canvas.h"

namespace skinart {

// Frame `frame` of `frameCount`; together they turn the arc once round.
void PaintSpinnerFrame(cairo_t* cr, Box box, int frame, int frameCount);
// The still picture of the same card.
void PaintWaiting(cairo_t* cr, Box box);

}  // namespace skinart
