#include "ui/button.h"

#include "ui/attribute_values.h"
#include "platform/utf8.h"

namespace ui {

Button::Button(std::string class_name) : Label(std::move(class_name)) {
  MutableTextStyle().halign = HorizontalAlign::kCenter;
}

void Button::SetStateImage(std::wstring path) {
  state_image_ = std::move(path);
  Invalidate();
}

Color Button::GetStateTextColor(State state) const {
  const TextStyle& style = GetTextStyle();
  switch (state) {
    case State::kHot:
      return hot_text_color_.value_or(style.text_color);
    case State::kPushed:
      return pushed_text_color_.value_or(hot_text_color_.value_or(style.text_color));
    case State::kDisabled:
      return style.disabled_text_color.value_or(style.text_color);
    case State::kNormal:
      break;
  }
  return style.text_color;
}

void Button::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "stateimage") {
    SetStateImage(platform::FromUtf8(value));
  } else if (name == "hottextcolor") {
    hot_text_color_ = ParseColor(value);
  } else if (name == "pushedtextcolor") {
    pushed_text_color_ = ParseColor(value);
  } else {
    Label::SetAttribute(name, value);
  }
}

bool Button::WantsMouseAt(int, int) const { return true; }

void Button::Activate() { SendNotify("click"); }

}  // namespace ui
