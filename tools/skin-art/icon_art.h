// The product mark and the message icons.
#pragma once

#include "canvas.h"

namespace skinart {

// A white tile with a brand-coloured "download into the tray" mark.
void PaintLogo(cairo_t* cr, Box box);
// Round icons of the message box: a question and an alert.
void PaintHelpIcon(cairo_t* cr, Box box);
void PaintExclamationIcon(cairo_t* cr, Box box);
// Small triangle shown beside the failure advice.
void PaintWarningIcon(cairo_t* cr, Box box);

}  // namespace skinart
