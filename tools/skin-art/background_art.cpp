#include "background_art.h"

#include <array>
#include <numbers>

#include "palette.h"

namespace skinart {
namespace {

constexpr double kPi = std::numbers::pi;

Colour Veil(double alpha) { return WithAlpha(palette::kWhite, alpha); }

void FillBackground(cairo_t* cr, Box box, Colour colour) {
  cairo_rectangle(cr, box.x, box.y, box.width, box.height);
  SetColour(cr, colour);
  cairo_fill(cr);
}

void Outline(cairo_t* cr, Box box, Colour colour) {
  cairo_rectangle(cr, box.x + 0.5, box.y + 0.5, box.width - 1, box.height - 1);
  SetColour(cr, colour);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void StrokeRing(cairo_t* cr, double cx, double cy, double radius, double width,
                Colour colour) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, radius, 0, 2 * kPi);
  cairo_set_line_width(cr, width);
  SetColour(cr, colour);
  cairo_stroke(cr);
}

void StrokeDownArrow(cairo_t* cr, double cx, double top, double bottom, double head,
                     double width, Colour colour) {
  cairo_move_to(cr, cx, top);
  cairo_line_to(cr, cx, bottom);
  cairo_move_to(cr, cx - head, bottom - head);
  cairo_line_to(cr, cx, bottom);
  cairo_line_to(cr, cx + head, bottom - head);
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  SetColour(cr, colour);
  cairo_stroke(cr);
}

// The header ends in a gentle wave above the install row.
void HeaderPath(cairo_t* cr, double width) {
  cairo_move_to(cr, 0, 0);
  cairo_line_to(cr, width, 0);
  cairo_line_to(cr, width, 214);
  cairo_curve_to(cr, width * 0.72, 252, width * 0.30, 204, 0, 236);
  cairo_close_path(cr);
}

// An application window with a download in progress.
void PaintWindowIllustration(cairo_t* cr) {
  const Box card{390, 58, 200, 144};
  FillBorderedBox(cr, card, 8, palette::kWhite, palette::kBorder);
  cairo_save(cr);
  RoundedRect(cr, card, 8);
  cairo_clip(cr);
  cairo_rectangle(cr, card.x, card.y, card.width, 26);
  FillGradient(cr, card.x, 0, card.x + card.width, 0,
               {{0, palette::kBrandDeep}, {1, palette::kBrand}});
  cairo_restore(cr);
  for (int i = 0; i < 3; ++i) FillCircle(cr, card.x + 14 + 10 * i, card.y + 13, 3, Veil(0.7));

  constexpr std::array kLineWidths{120.0, 168.0, 90.0};
  for (std::size_t i = 0; i < kLineWidths.size(); ++i) {
    RoundedRect(cr, {card.x + 16, card.y + 44 + 18.0 * static_cast<double>(i), kLineWidths[i], 8},
                4);
    SetColour(cr, palette::kSurfacePushed);
    cairo_fill(cr);
  }
  RoundedRect(cr, {card.x + 16, card.y + 116, 168, 8}, 4);
  SetColour(cr, palette::kBrandTint);
  cairo_fill(cr);
  RoundedRect(cr, {card.x + 16, card.y + 116, 104, 8}, 4);
  SetColour(cr, palette::kBrand);
  cairo_fill(cr);

  FillCircle(cr, 588, 62, 18, palette::kAccent);
  StrokeDownArrow(cr, 588, 53, 70, 6, 3, palette::kWhite);
}

// A shield: the download is checked before it is installed.
void PaintShieldIllustration(cairo_t* cr) {
  StrokeRing(cr, 490, 140, 92, 2, WithAlpha(palette::kBrand, 0.14));
  StrokeRing(cr, 490, 140, 116, 1, WithAlpha(palette::kBrand, 0.10));
  cairo_move_to(cr, 490, 58);
  cairo_curve_to(cr, 512, 74, 536, 80, 556, 80);
  cairo_curve_to(cr, 556, 150, 530, 196, 490, 220);
  cairo_curve_to(cr, 450, 196, 424, 150, 424, 80);
  cairo_curve_to(cr, 444, 80, 468, 74, 490, 58);
  cairo_close_path(cr);
  FillGradient(cr, 0, 58, 0, 220, {{0, palette::kBrandLight}, {1, palette::kBrandDeep}});
  cairo_move_to(cr, 464, 140);
  cairo_line_to(cr, 483, 159);
  cairo_line_to(cr, 518, 122);
  cairo_set_line_width(cr, 9);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  SetColour(cr, palette::kWhite);
  cairo_stroke(cr);
  FillCircle(cr, 580, 76, 6, WithAlpha(palette::kAccent, 0.8));
  FillCircle(cr, 404, 196, 4, WithAlpha(palette::kBrand, 0.35));
}

// A cloud the product comes down from.
void PaintCloudIllustration(cairo_t* cr) {
  struct Puff {
    double x;
    double y;
    double r;
  };
  constexpr std::array kPuffs{Puff{452, 142, 34}, Puff{494, 118, 44}, Puff{538, 144, 32}};
  const Box base{418, 140, 154, 36};
  const auto fillCloud = [&](double grow, Colour colour) {
    for (const Puff& puff : kPuffs) FillCircle(cr, puff.x, puff.y, puff.r + grow, colour);
    RoundedRect(cr, {base.x - grow, base.y - grow, base.width + 2 * grow, base.height + 2 * grow},
                18 + grow);
    SetColour(cr, colour);
    cairo_fill(cr);
  };
  // The outline is the same cloud a little larger below: the puffs merge.
  fillCloud(1.5, palette::kBorder);
  fillCloud(0, palette::kWhite);
  StrokeDownArrow(cr, 494, 112, 166, 13, 7, palette::kBrand);
  for (const auto& [x0, y] : std::array{std::pair{382.0, 120.0}, std::pair{370.0, 142.0},
                                        std::pair{388.0, 164.0}}) {
    StrokeLine(cr, x0, y, x0 + 26, y, 4, WithAlpha(palette::kBrand, 0.25));
  }
}

}  // namespace

void PaintHeader(cairo_t* cr, Box box, bool complete) {
  FillBackground(cr, box, palette::kWhite);
  Outline(cr, box, palette::kBorder);

  cairo_save(cr);
  HeaderPath(cr, box.width);
  cairo_clip_preserve(cr);
  FillGradient(cr, 0, 0, box.width * 0.6, 300,
               {{0, palette::kBrandDeep},
                {0.55, palette::kBrand},
                {1, complete ? palette::kAccent : palette::kBrandLight}});
  FillCircle(cr, box.width * 0.86, 10, 150, Veil(0.07));
  FillCircle(cr, box.width * 0.94, 150, 70, Veil(0.06));
  FillCircle(cr, box.width * 0.06, 220, 120, Veil(0.05));
  if (complete) {
    // Rings spreading from the logo: the product has arrived.
    for (int i = 0; i < 3; ++i) StrokeRing(cr, 325, 92, 56 + 22 * i, 1.5, Veil(0.16 - 0.045 * i));
  } else {
    StrokeRing(cr, box.width * 0.2, 40, 46, 10, Veil(0.07));
  }
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 6; ++column) {
      FillCircle(cr, 40 + 12 * column, 150 + 12 * row, 1.5, Veil(0.22));
    }
  }
  cairo_move_to(cr, 0, 200);
  cairo_curve_to(cr, box.width * 0.35, 168, box.width * 0.65, 236, box.width, 178);
  cairo_line_to(cr, box.width, 260);
  cairo_line_to(cr, 0, 260);
  cairo_close_path(cr);
  SetColour(cr, Veil(0.08));
  cairo_fill(cr);
  cairo_restore(cr);
}

void PaintSlide(cairo_t* cr, Box box, int index) {
  cairo_rectangle(cr, box.x, box.y, box.width, box.height);
  FillGradient(cr, 0, 0, 0, box.height, {{0, palette::kBrandTint}, {1, palette::kWhite}});
  FillCircle(cr, 490, 140, 132, WithAlpha(palette::kBrand, 0.05));
  FillCircle(cr, 80, 250, 90, WithAlpha(palette::kBrand, 0.035));
  switch (index) {
    case 0:
      PaintWindowIllustration(cr);
      break;
    case 1:
      PaintShieldIllustration(cr);
      break;
    default:
      PaintCloudIllustration(cr);
      break;
  }
}

void PaintMessageBackground(cairo_t* cr, Box box) {
  FillBackground(cr, box, palette::kWhite);
  Outline(cr, box, palette::kBorder);
  cairo_save(cr);
  cairo_rectangle(cr, box.x, box.y, box.width, 36);
  cairo_clip_preserve(cr);
  FillGradient(cr, 0, 0, box.width, 0, {{0, palette::kBrandDeep}, {1, palette::kBrand}});
  FillCircle(cr, box.width - 30, -10, 40, Veil(0.08));
  FillCircle(cr, box.width - 80, 40, 24, Veil(0.06));
  cairo_restore(cr);
}

}  // namespace skinart
