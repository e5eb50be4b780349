#include "ui/option.h"

#include "ui/attribute_values.h"
#include "ui/paint_manager.h"
#include "platform/utf8.h"

namespace ui {

Option::Option(std::string class_name) : Button(std::move(class_name)) {}

void Option::Selected(bool selected, bool notify) {
  if (selected == selected_) return;
  selected_ = selected;
  Invalidate();
  if (selected_ && IsGrouped()) DeselectGroup(notify);
  if (notify) SendNotify("selectchanged");
}

void Option::DeselectGroup(bool notify) {
  PaintManager* manager = GetManager();
  if (!manager || !manager->GetRoot()) return;
  // Visits the whole window; the predicate never matches.
  manager->GetRoot()->FindControlIf([&](Control& control) {
    auto* other = As<Option>(&control);
    if (other && other != this && other->IsGrouped() && other->group_ == group_) {
      other->Selected(false, notify);
    }
    return false;
  });
}

void Option::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "group") {
    group_ = value;
  } else if (name == "selected") {
    Selected(ParseBool(value).value_or(selected_), false);
  } else if (name == "selectedstateimage") {
    selected_state_image_ = platform::FromUtf8(value);
  } else {
    Button::SetAttribute(name, value);
  }
}

void Option::Activate() {
  Button::Activate();
  Selected(IsGrouped() ? true : !selected_);
}

}  // namespace ui
