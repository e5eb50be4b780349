// Every image the skin layouts name, with its size and painter.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "canvas.h"

namespace skinart {

struct SkinImage {
  std::string entry;  // path inside the skin package, '/' separated
  int width;
  int height;
  std::function<void(cairo_t*, Box)> paint;
};

std::vector<SkinImage> SkinImages();

}  // namespace skinart
