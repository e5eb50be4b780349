// Faces of the small controls: check boxes, slide dots, combo, progress and
// scroll bar.
#pragma once

#include "state_strip.h"

namespace skinart {

void PaintCheckBox(cairo_t* cr, Box box, State state, bool checked);
void PaintDot(cairo_t* cr, Box box, State state, bool selected);
void PaintCombo(cairo_t* cr, Box box);
void PaintProgressTrack(cairo_t* cr, Box box);
void PaintProgressFill(cairo_t* cr, Box box);
void PaintScrollThumb(cairo_t* cr, Box box);

}  // namespace skinart
