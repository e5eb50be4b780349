#ifndef TESTS_UI_TEST_SUPPORT_H_
#define TESTS_UI_TEST_SUPPORT_H_

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/color.h"
#include "ui/package.h"

namespace ui_test {

// Entry name -> bytes.
using Entries = std::map<std::string, std::string>;

// A PNG of `colors.size()` columns, each `column_width` wide and `height`
// high, filled with the given colours from left to right.
std::string MakeStripPng(const std::vector<ui::Color>& colors, int column_width, int height);

// The test skin of tests/ui/data plus its generated images, as a package.
std::shared_ptr<ui::Package> TestSkin();

// The colour of one pixel of an ARGB32 image surface.
struct Pixel {
  unsigned a, r, g, b;
  bool operator==(const Pixel&) const = default;
};

}  // namespace ui_test

#endif  // TESTS_UI_TEST_SUPPORT_H_
