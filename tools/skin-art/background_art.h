// The large surfaces: window header, install slides, message box.
#pragma once

#include "canvas.h"

namespace skinart {

// Upper window: a brand gradient header with a wavy lower edge over white.
// `complete` is the variant shown once the product is installed.
void PaintHeader(cairo_t* cr, Box box, bool complete);
// Slide `index` (0..2) of the progress page: an illustration on the right,
// the left half kept calm for the slide caption.
void PaintSlide(cairo_t* cr, Box box, int index);
void PaintMessageBackground(cairo_t* cr, Box box);

}  // namespace skinart
