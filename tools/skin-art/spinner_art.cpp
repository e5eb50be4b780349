#include "spinner_art.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "palette.h"

namespace skinart {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kRingRadius = 44;
constexpr double kRingWidth = 7;

struct Centre {
  double x;
  double y;
};

// The card and the spinner's track; returns the spinner's centre.
Centre PaintCard(cairo_t* cr, Box box) {
  FillBorderedBox(cr, box, 20, palette::kWhite, palette::kBorderFaint);
  const Centre centre{box.x + box.width / 2, box.y + box.height * 0.44};
  cairo_new_sub_path(cr);
  cairo_arc(cr, centre.x, centre.y, kRingRadius, 0, 2 * kPi);
  cairo_set_line_width(cr, kRingWidth);
  SetColour(cr, palette::kBrandTint);
  cairo_stroke(cr);
  return centre;
}

void StrokeArc(cairo_t* cr, Centre centre, double from, double to, Colour colour) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, centre.x, centre.y, kRingRadius, from, to);
  cairo_set_line_width(cr, kRingWidth);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  SetColour(cr, colour);
  cairo_stroke(cr);
}

// Three dots under the ring; `phase` 0..1 moves a highlight across them.
void PaintDots(cairo_t* cr, Box box, double phase) {
  for (int i = 0; i < 3; ++i) {
    const double distance = std::fabs(phase * 3 - i - 0.5);
    const double strength = std::max(0.0, 1 - std::min(distance, 3 - distance));
    FillCircle(cr, box.x + box.width / 2 + 16.0 * (i - 1), box.y + box.height * 0.76, 4,
               Mix(palette::kBrandDisabled, palette::kBrand, strength));
  }
}

}  // namespace

void PaintSpinnerFrame(cairo_t* cr, Box box, int frame, int frameCount) {
  const Centre centre = PaintCard(cr, box);
  const double turn = static_cast<double>(frame) / frameCount;
  const double start = -kPi / 2 + 2 * kPi * turn;
  StrokeArc(cr, centre, start, start + kPi * 0.6, palette::kBrand);
  PaintDots(cr, box, turn);
}

void PaintWaiting(cairo_t* cr, Box box) {
  const Centre centre = PaintCard(cr, box);
  StrokeArc(cr, centre, -kPi / 2, kPi, WithAlpha(palette::kBrand, 0.55));
  PaintDots(cr, box, 0.5);
}

}  // namespace skinart
