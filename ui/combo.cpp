#include "ui/combo.h"

#include "ui/attribute_values.h"
#include "ui/paint_manager.h"

namespace ui {

Combo::Combo() : Container("Combo") {}

int Combo::GetCurSel() const {
  return selected_ >= 0 && selected_ < GetCount() ? selected_ : -1;
}

bool Combo::SelectItem(int index, bool) {
  if (index < 0 || index >= GetCount()) return false;
  if (index == selected_) return true;
  const int old = GetCurSel();
  selected_ = index;
  Invalidate();
  SendNotify("itemselect", static_cast<std::uintptr_t>(index), old);
  return true;
}

std::wstring Combo::GetText() const {
  const Control* item = GetItemAt(GetCurSel());
  return item ? item->GetText() : std::wstring();
}

void Combo::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "selectedid") {
    selected_ = ParseInt(value).value_or(selected_);
  } else {
    Container::SetAttribute(name, value);
  }
}

// The items live in the drop-down, not inside the box.
Control* Combo::FindControlAt(int x, int y) { return Control::FindControlAt(x, y); }

bool Combo::WantsMouseAt(int, int) const { return true; }

void Combo::Activate() {
  if (GetManager()) GetManager()->ShowDropDown(*this);
}

void Combo::ArrangeChildren(const Rect&) {}

}  // namespace ui
