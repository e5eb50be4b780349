#include "ui/tab_layout.h"

#include "ui/attribute_values.h"

namespace ui {

TabLayout::TabLayout() : Container("TabLayout") {}

bool TabLayout::SelectItem(int index) {
  if (index < 0 || index >= GetCount()) return false;
  selected_ = index;
  for (int i = 0; i < GetCount(); ++i) GetItemAt(i)->SetVisible(i == index);
  return true;
}

int TabLayout::GetCurSel() const {
  return selected_ >= 0 && selected_ < GetCount() ? selected_ : -1;
}

void TabLayout::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "selectedid") {
    // Pages are added after the attributes, so this only records the choice.
    selected_ = ParseInt(value).value_or(selected_);
  } else {
    Container::SetAttribute(name, value);
  }
}

void TabLayout::OnChildAdded(Control& child, int index) {
  child.SetVisible(index == selected_);
}

}  // namespace ui
