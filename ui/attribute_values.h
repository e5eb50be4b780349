#ifndef UI_ATTRIBUTE_VALUES_H_
#define UI_ATTRIBUTE_VALUES_H_

#include <optional>
#include <string_view>

#include "ui/color.h"
#include "ui/rect.h"
#include "ui/size.h"

namespace ui {

// Parsers for layout attribute values. A value that is not exactly what is
// expected (letters in a number, too few fields, out of range) yields nullopt
// so that callers keep their default.

std::optional<int> ParseInt(std::string_view value);
std::optional<bool> ParseBool(std::string_view value);
// "l,t,r,b"
std::optional<Rect> ParseRect(std::string_view value);
// "w,h"
std::optional<Size> ParseSize(std::string_view value);
// "#AARRGGBB" or "#RRGGBB" (opaque).
std::optional<Color> ParseColor(std::string_view value);

}  // namespace ui

#endif  // UI_ATTRIBUTE_VALUES_H_
