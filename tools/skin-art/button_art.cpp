#include "button_art.h"

#include <cmath>

#include "palette.h"

namespace skinart {
namespace {

constexpr Colour kBlack = Hex(0x000000);

// Corners grow with the button but stay modest: 4 px at 28, 7 px at 48.
double CornerRadius(Box box) { return std::round(box.height / 7); }

// The square behind a title glyph while the pointer is on it.
void TitleBackdrop(cairo_t* cr, Box box, State state, const StateColours& colours) {
  if (state != State::kHot && state != State::kPushed) return;
  RoundedRect(cr, {box.x + 2, box.y + 2, box.width - 4, box.height - 4}, 4);
  SetColour(cr, colours.For(state));
  cairo_fill(cr);
}

Colour GlyphColour(State state) {
  return WithAlpha(palette::kWhite, state == State::kDisabled ? 0.45 : 1.0);
}

}  // namespace

void PaintPrimaryButton(cairo_t* cr, Box box, State state) {
  const StateColours colours{palette::kBrand, palette::kBrandHot, palette::kBrandPushed,
                             palette::kBrandDisabled};
  const Colour base = colours.For(state);
  const double radius = CornerRadius(box);
  RoundedRect(cr, box, radius);
  FillGradient(cr, 0, box.y, 0, box.y + box.height,
               {{0, Mix(base, palette::kWhite, 0.06)}, {1, Mix(base, kBlack, 0.05)}});
  if (state == State::kDisabled) return;
  RoundedRect(cr, {box.x + 0.5, box.y + 0.5, box.width - 1, box.height - 1}, radius - 0.5);
  SetColour(cr, Mix(base, kBlack, 0.14));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  if (state != State::kPushed) {  // a pressed button loses its top light
    StrokeLine(cr, box.x + radius, box.y + 1.5, box.x + box.width - radius, box.y + 1.5, 1,
               WithAlpha(palette::kWhite, 0.18));
  }
}

void PaintSecondaryButton(cairo_t* cr, Box box, State state) {
  const StateColours fills{palette::kWhite, palette::kSurfaceHot, palette::kSurfacePushed,
                           palette::kSurface};
  const StateColours borders{palette::kBorder, palette::kBrand, palette::kBrand,
                             palette::kBorderFaint};
  FillBorderedBox(cr, box, CornerRadius(box), fills.For(state), borders.For(state));
}

void PaintCloseButton(cairo_t* cr, Box box, State state) {
  TitleBackdrop(cr, box, state,
                {palette::kWhite, palette::kDanger, palette::kDangerPushed, palette::kWhite});
  const double cx = box.x + box.width / 2;
  const double cy = box.y + box.height / 2;
  constexpr double kArm = 4.5;
  StrokeLine(cr, cx - kArm, cy - kArm, cx + kArm, cy + kArm, 1.6, GlyphColour(state));
  StrokeLine(cr, cx - kArm, cy + kArm, cx + kArm, cy - kArm, 1.6, GlyphColour(state));
}

void PaintMinimiseButton(cairo_t* cr, Box box, State state) {
  const Colour hot = WithAlpha(palette::kWhite, 0.18);
  TitleBackdrop(cr, box, state, {hot, hot, WithAlpha(palette::kWhite, 0.28), hot});
  // Two pixels high on a pixel boundary: sharp without hinting.
  const double cx = box.x + box.width / 2;
  const double cy = std::round(box.y + box.height / 2);
  cairo_rectangle(cr, cx - 5.5, cy - 1, 11, 2);
  SetColour(cr, GlyphColour(state));
  cairo_fill(cr);
}

}  // namespace skinart
