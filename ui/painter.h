#ifndef UI_PAINTER_H_
#define UI_PAINTER_H_

#include <string>

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace ui {

class PaintManager;

// Draws a whole window: its background, the control tree and an open
// drop-down, in client pixels.
void PaintWindow(cairo_t* cr, PaintManager& manager);

// The window drawn offscreen at its client size. The caller destroys the
// surface (cairo_surface_destroy); nullptr when the client size is empty.
cairo_surface_t* RenderToSurface(PaintManager& manager);
// The offscreen drawing written as a PNG file.
bool RenderToPng(PaintManager& manager, const std::string& path);

}  // namespace ui

#endif  // UI_PAINTER_H_
