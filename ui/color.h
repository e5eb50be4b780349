#ifndef UI_COLOR_H_
#define UI_COLOR_H_

#include <cstdint>

namespace ui {

// 0xAARRGGBB. Alpha 0 is fully transparent, so 0 doubles as "no colour".
using Color = std::uint32_t;

constexpr Color kColorNone = 0;
constexpr Color kColorBlack = 0xFF000000;

constexpr double ColorAlpha(Color c) { return ((c >> 24) & 0xFF) / 255.0; }
constexpr double ColorRed(Color c) { return ((c >> 16) & 0xFF) / 255.0; }
constexpr double ColorGreen(Color c) { return ((c >> 8) & 0xFF) / 255.0; }
constexpr double ColorBlue(Color c) { return (c & 0xFF) / 255.0; }

}  // namespace ui

#endif  // UI_COLOR_H_
