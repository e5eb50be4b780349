// skin-art <package root>: draws every image of the skin package below the
// given folder (as "skin/...", the paths the layouts use). Same input, same
// bytes: nothing depends on fonts, time or the machine.
#include <cairo.h>

#include <filesystem>
#include <iostream>
#include <string>

#include "image_catalog.h"

namespace {

bool WriteImage(const skinart::SkinImage& image, const std::filesystem::path& root) {
  const std::filesystem::path file = root / image.entry;
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  if (ec) {
    std::cerr << "skin-art: cannot create " << file.parent_path().string() << ": "
              << ec.message() << '\n';
    return false;
  }
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height);
  cairo_t* cr = cairo_create(surface);
  image.paint(cr, {0, 0, static_cast<double>(image.width), static_cast<double>(image.height)});
  cairo_status_t status = cairo_status(cr);
  cairo_destroy(cr);
  if (status == CAIRO_STATUS_SUCCESS) {
    status = cairo_surface_write_to_png(surface, file.c_str());
  }
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) {
    std::cerr << "skin-art: " << file.string() << ": " << cairo_status_to_string(status) << '\n';
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: skin-art <skin package folder>\n";
    return 1;
  }
  const std::filesystem::path root = argv[1];
  for (const skinart::SkinImage& image : skinart::SkinImages()) {
    if (!WriteImage(image, root)) return 1;
  }
  return 0;
}
