// Small drawing vocabulary over cairo shared by all painters.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <initializer_list>

namespace skinart {

struct Colour {
  double r;
  double g;
  double b;
  double a;
};

constexpr Colour Hex(std::uint32_t rgb, double alpha = 1.0) {
  return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0,
          alpha};
}

constexpr Colour WithAlpha(Colour colour, double alpha) {
  return {colour.r, colour.g, colour.b, alpha};
}

// Linear mix: 0 gives `from`, 1 gives `to`.
Colour Mix(Colour from, Colour to, double amount);

struct Box {
  double x;
  double y;
  double width;
  double height;
};

void SetColour(cairo_t* cr, Colour colour);
void RoundedRect(cairo_t* cr, Box box, double radius);

// A rounded box with a crisp 1 px border: the border path runs through
// pixel centres, so it covers whole pixels instead of smearing over two.
void FillBorderedBox(cairo_t* cr, Box box, double radius, Colour fill, Colour border);

struct GradientStop {
  double offset;
  Colour colour;
};

// Makes a linear gradient from (x0, y0) to (x1, y1) the source.
void SetGradient(cairo_t* cr, double x0, double y0, double x1, double y1,
                 std::initializer_list<GradientStop> stops);
// Fills the current path with such a gradient.
void FillGradient(cairo_t* cr, double x0, double y0, double x1, double y1,
                  std::initializer_list<GradientStop> stops);

// A stroked polyline with round ends, the way the glyphs are drawn.
void StrokeLine(cairo_t* cr, double x0, double y0, double x1, double y1, double width,
                Colour colour);

void FillCircle(cairo_t* cr, double cx, double cy, double radius, Colour colour);

}  // namespace skinart
