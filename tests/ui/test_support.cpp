#include "tests/ui/test_support.h"

#include <cairo.h>

#include <filesystem>
#include <stdexcept>

#include "fixtures/temp_dir.h"
#include "fixtures/zip_bytes.h"

namespace ui_test {
namespace {

cairo_status_t AppendToString(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

std::string MakeStripPng(const std::vector<ui::Color>& colors, int column_width, int height) {
  const int width = column_width * static_cast<int>(colors.size());
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(surface);
  for (size_t i = 0; i < colors.size(); ++i) {
    const ui::Color c = colors[i];
    cairo_set_source_rgba(cr, ui::ColorRed(c), ui::ColorGreen(c), ui::ColorBlue(c),
                          ui::ColorAlpha(c));
    cairo_rectangle(cr, static_cast<double>(i) * column_width, 0, column_width, height);
    cairo_fill(cr);
  }
  cairo_destroy(cr);
  std::string png;
  cairo_surface_write_to_png_stream(surface, AppendToString, &png);
  cairo_surface_destroy(surface);
  return png;
}

std::shared_ptr<ui::Package> TestSkin() {
  namespace fs = std::filesystem;
  Entries entries;
  const fs::path root = UI_TEST_DATA_DIR;
  for (const auto& item : fs::recursive_directory_iterator(root)) {
    if (!item.is_regular_file()) continue;
    entries[fs::relative(item.path(), root).generic_string()] = test::ReadFile(item.path());
  }
  // Red, green, blue, grey: normal, hot, pushed, disabled.
  entries["skin/strip.png"] = MakeStripPng({0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF808080}, 8, 8);
  entries["skin/background.png"] = MakeStripPng({0xFF203040}, 4, 4);
  std::string error;
  auto package = ui::Package::FromMemory(test::MakeZip(entries), &error);
  if (!package) throw std::runtime_error("test skin: " + error);
  return package;
}

}  // namespace ui_test
