#include "ui/progress.h"

#include <algorithm>

#include "ui/attribute_values.h"
#include "platform/utf8.h"

namespace ui {

Progress::Progress() : Label("Progress") {
  MutableTextStyle().halign = HorizontalAlign::kCenter;
}

void Progress::SetMinValue(int min) {
  min_ = min;
  SetValue(value_);
  Invalidate();
}

void Progress::SetMaxValue(int max) {
  max_ = max;
  SetValue(value_);
  Invalidate();
}

void Progress::SetValue(int value) {
  // An inverted range pins the value at the minimum.
  value = std::max(std::min(value, max_), min_);
  if (value == value_) return;
  value_ = value;
  Invalidate();
}

double Progress::GetFraction() const {
  if (max_ <= min_) return 0.0;
  return static_cast<double>(value_ - min_) / (static_cast<double>(max_) - min_);
}

void Progress::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "min") {
    SetMinValue(ParseInt(value).value_or(min_));
  } else if (name == "max") {
    SetMaxValue(ParseInt(value).value_or(max_));
  } else if (name == "value") {
    SetValue(ParseInt(value).value_or(value_));
  } else if (name == "foreimage") {
    fore_image_ = platform::FromUtf8(value);
  } else if (name == "forecolor") {
    fore_color_ = ParseColor(value).value_or(fore_color_);
  } else {
    Label::SetAttribute(name, value);
  }
}

}  // namespace ui
