// Button faces, one state at a time (see state_strip.h).
#pragma once

#include "state_strip.h"

namespace skinart {

// Filled brand button with white text: install, start, yes.
void PaintPrimaryButton(cairo_t* cr, Box box, State state);
// White button with a thin border: browse, no.
void PaintSecondaryButton(cairo_t* cr, Box box, State state);
// White glyphs for the brand-coloured title areas.
void PaintCloseButton(cairo_t* cr, Box box, State state);
void PaintMinimiseButton(cairo_t* cr, Box box, State state);

}  // namespace skinart
