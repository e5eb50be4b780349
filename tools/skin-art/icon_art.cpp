#include "icon_art.h"

#include <numbers>

#include "palette.h"

namespace skinart {
namespace {

constexpr double kPi = std::numbers::pi;

void RoundStroke(cairo_t* cr, double width) {
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
}

// Icons are designed on a 40 px grid and scaled to their box.
void UseGrid(cairo_t* cr, Box box, double grid) {
  cairo_translate(cr, box.x, box.y);
  cairo_scale(cr, box.width / grid, box.height / grid);
}

}  // namespace

void PaintLogo(cairo_t* cr, Box box) {
  cairo_save(cr);
  UseGrid(cr, box, 64);
  RoundedRect(cr, {0, 0, 64, 64}, 16);
  SetColour(cr, palette::kWhite);
  cairo_fill(cr);

  cairo_move_to(cr, 32, 15);  // stem
  cairo_line_to(cr, 32, 37);
  cairo_move_to(cr, 22, 28);  // arrow head
  cairo_line_to(cr, 32, 38);
  cairo_line_to(cr, 42, 28);
  cairo_move_to(cr, 17, 39);  // tray
  cairo_line_to(cr, 17, 47);
  cairo_line_to(cr, 47, 47);
  cairo_line_to(cr, 47, 39);
  RoundStroke(cr, 5);
  SetGradient(cr, 0, 14, 0, 50, {{0, palette::kBrandLight}, {1, palette::kBrandDeep}});
  cairo_stroke(cr);
  cairo_restore(cr);
}

void PaintHelpIcon(cairo_t* cr, Box box) {
  cairo_save(cr);
  UseGrid(cr, box, 40);
  FillCircle(cr, 20, 20, 20, palette::kBrand);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 20, 15.5, 6, kPi, 2.35 * kPi);
  cairo_line_to(cr, 20, 23.5);
  cairo_line_to(cr, 20, 25);
  RoundStroke(cr, 3.4);
  SetColour(cr, palette::kWhite);
  cairo_stroke(cr);
  FillCircle(cr, 20, 30.5, 2.1, palette::kWhite);
  cairo_restore(cr);
}

void PaintExclamationIcon(cairo_t* cr, Box box) {
  cairo_save(cr);
  UseGrid(cr, box, 40);
  FillCircle(cr, 20, 20, 20, palette::kWarning);
  StrokeLine(cr, 20, 10.5, 20, 23.5, 3.8, palette::kWhite);
  FillCircle(cr, 20, 30, 2.3, palette::kWhite);
  cairo_restore(cr);
}

void PaintWarningIcon(cairo_t* cr, Box box) {
  cairo_save(cr);
  UseGrid(cr, box, 40);
  cairo_move_to(cr, 20, 4);
  cairo_line_to(cr, 37, 35);
  cairo_line_to(cr, 3, 35);
  cairo_close_path(cr);
  RoundStroke(cr, 5);
  SetColour(cr, palette::kWarning);
  cairo_fill_preserve(cr);
  cairo_stroke(cr);
  StrokeLine(cr, 20, 14, 20, 23, 4, palette::kWhite);
  FillCircle(cr, 20, 29.5, 2.4, palette::kWhite);
  cairo_restore(cr);
}

}  // namespace skinart
