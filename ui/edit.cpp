#include "ui/edit.h"

#include <algorithm>

#include "ui/attribute_values.h"

namespace ui {

Edit::Edit(std::string class_name) : Label(std::move(class_name)) {}

void Edit::SetReadOnly(bool read_only) {
  read_only_ = read_only;
  Invalidate();
}

void Edit::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "readonly") {
    SetReadOnly(ParseBool(value).value_or(read_only_));
  } else if (name == "maxchar") {
    max_char_ = std::max(0, ParseInt(value).value_or(max_char_));
  } else {
    Label::SetAttribute(name, value);
  }
}

// Over a field the mouse selects text; it never drags the window.
bool Edit::WantsMouseAt(int, int) const { return true; }

}  // namespace ui
