#include "control_art.h"

#include <algorithm>

#include "palette.h"

namespace skinart {
namespace {

const StateColours kBrandStates{palette::kBrand, palette::kBrandHot, palette::kBrandPushed,
                                palette::kBrandDisabled};

}  // namespace

void PaintCheckBox(cairo_t* cr, Box box, State state, bool checked) {
  if (!checked) {
    const StateColours fills{palette::kWhite, palette::kWhite, palette::kBrandTint,
                             palette::kSurface};
    const StateColours borders{palette::kBorderStrong, palette::kBrand, palette::kBrand,
                               palette::kBorderFaint};
    FillBorderedBox(cr, box, 3, fills.For(state), borders.For(state));
    return;
  }
  RoundedRect(cr, box, 3);
  SetColour(cr, kBrandStates.For(state));
  cairo_fill(cr);
  const double unit = box.width / 16;
  cairo_move_to(cr, box.x + 4 * unit, box.y + 8.5 * unit);
  cairo_line_to(cr, box.x + 7 * unit, box.y + 11.5 * unit);
  cairo_line_to(cr, box.x + 12 * unit, box.y + 5 * unit);
  cairo_set_line_width(cr, 2 * unit);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  SetColour(cr, palette::kWhite);
  cairo_stroke(cr);
}

void PaintDot(cairo_t* cr, Box box, State state, bool selected) {
  const StateColours idle{palette::kBorderStrong, palette::kMuted, palette::kBrandDisabled,
                          palette::kBorderFaint};
  const double radius = std::min(box.width, box.height) / 2 - 1;
  FillCircle(cr, box.x + box.width / 2, box.y + box.height / 2, radius,
             (selected ? kBrandStates : idle).For(state));
}

// The field only: the UI library draws the drop-down arrow itself.
void PaintCombo(cairo_t* cr, Box box) {
  FillBorderedBox(cr, box, 3, palette::kWhite, palette::kBorder);
}

void PaintProgressTrack(cairo_t* cr, Box box) {
  RoundedRect(cr, box, box.height / 2);
  SetColour(cr, palette::kSurfacePushed);
  cairo_fill(cr);
}

void PaintProgressFill(cairo_t* cr, Box box) {
  RoundedRect(cr, box, box.height / 2);
  FillGradient(cr, box.x, 0, box.x + box.width, 0,
               {{0, palette::kBrand}, {1, palette::kBrandLight}});
}

void PaintScrollThumb(cairo_t* cr, Box box) {
  RoundedRect(cr, box, box.width / 2);
  SetColour(cr, palette::kBorder);
  cairo_fill(cr);
}

}  // namespace skinart
