#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace skinart {

Colour Mix(Colour from, Colour to, double amount) {
  const auto lerp = [amount](double a, double b) { return a + (b - a) * amount; };
  return {lerp(from.r, to.r), lerp(from.g, to.g), lerp(from.b, to.b), lerp(from.a, to.a)};
}

void SetColour(cairo_t* cr, Colour colour) {
  cairo_set_source_rgba(cr, colour.r, colour.g, colour.b, colour.a);
}

void RoundedRect(cairo_t* cr, Box box, double radius) {
  const double r = std::min(radius, std::min(box.width, box.height) / 2);
  const double right = box.x + box.width;
  const double bottom = box.y + box.height;
  constexpr double kQuarter = std::numbers::pi / 2;
  cairo_new_sub_path(cr);
  cairo_arc(cr, right - r, box.y + r, r, -kQuarter, 0);
  cairo_arc(cr, right - r, bottom - r, r, 0, kQuarter);
  cairo_arc(cr, box.x + r, bottom - r, r, kQuarter, 2 * kQuarter);
  cairo_arc(cr, box.x + r, box.y + r, r, 2 * kQuarter, 3 * kQuarter);
  cairo_close_path(cr);
}

void FillBorderedBox(cairo_t* cr, Box box, double radius, Colour fill, Colour border) {
  RoundedRect(cr, box, radius);
  SetColour(cr, fill);
  cairo_fill(cr);
  RoundedRect(cr, {box.x + 0.5, box.y + 0.5, box.width - 1, box.height - 1}, radius - 0.5);
  SetColour(cr, border);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void SetGradient(cairo_t* cr, double x0, double y0, double x1, double y1,
                 std::initializer_list<GradientStop> stops) {
  cairo_pattern_t* gradient = cairo_pattern_create_linear(x0, y0, x1, y1);
  for (const GradientStop& stop : stops) {
    const Colour& c = stop.colour;
    cairo_pattern_add_color_stop_rgba(gradient, stop.offset, c.r, c.g, c.b, c.a);
  }
  cairo_set_source(cr, gradient);  // the context keeps its own reference
  cairo_pattern_destroy(gradient);
}

void FillGradient(cairo_t* cr, double x0, double y0, double x1, double y1,
                  std::initializer_list<GradientStop> stops) {
  SetGradient(cr, x0, y0, x1, y1, stops);
  cairo_fill(cr);
}

void StrokeLine(cairo_t* cr, double x0, double y0, double x1, double y1, double width,
                Colour colour) {
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  SetColour(cr, colour);
  cairo_stroke(cr);
}

void FillCircle(cairo_t* cr, double cx, double cy, double radius, Colour colour) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, radius, 0, 2 * std::numbers::pi);
  SetColour(cr, colour);
  cairo_fill(cr);
}

}  // namespace skinart
