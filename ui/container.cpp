#include "ui/container.h"

#include <algorithm>

#include "ui/attribute_values.h"

namespace ui {

Container::Container(std::string class_name) : Control(std::move(class_name)) {}

Container::~Container() = default;

Control* Container::Add(std::unique_ptr<Control> child) {
  if (!child) return nullptr;
  Control* added = child.get();
  items_.push_back(std::move(child));
  added->SetManager(GetManager(), this);
  OnChildAdded(*added, GetCount() - 1);
  NeedUpdate();
  return added;
}

Control* Container::GetItemAt(int index) const {
  if (index < 0 || index >= GetCount()) return nullptr;
  return items_[static_cast<size_t>(index)].get();
}

void Container::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "inset") {
    inset_ = ParseRect(value).value_or(inset_);
  } else if (name == "childpadding") {
    child_padding_ = std::max(0, ParseInt(value).value_or(child_padding_));
  } else {
    Control::SetAttribute(name, value);
  }
}

bool Container::InFlow(const Control& child) {
  return child.IsVisible() && !child.IsFloat();
}

void Container::SetPos(const Rect& pos) {
  Control::SetPos(pos);
  ArrangeChildren(pos.Deflated(inset_));
  for (const auto& child : items_) {
    if (child->IsVisible() && child->IsFloat()) PlaceFloating(*child);
  }
}

void Container::ArrangeChildren(const Rect& inner) {
  for (const auto& child : items_) {
    if (!InFlow(*child)) continue;
    Rect area = inner.Deflated(child->GetPadding());
    if (child->GetFixedWidth() > 0) area.right = area.left + child->GetFixedWidth();
    if (child->GetFixedHeight() > 0) area.bottom = area.top + child->GetFixedHeight();
    child->SetPos(area);
  }
}

void Container::PlaceFloating(Control& child) const {
  const Rect& p = child.GetFloatPos();
  const Rect origin = GetPos();
  Rect rect{origin.left + p.left, origin.top + p.top, 0, 0};
  rect.right = p.right > p.left ? origin.left + p.right : rect.left + child.GetFixedWidth();
  rect.bottom = p.bottom > p.top ? origin.top + p.bottom : rect.top + child.GetFixedHeight();
  child.SetPos(rect);
}

void Container::SetManager(PaintManager* manager, Control* parent) {
  Control::SetManager(manager, parent);
  for (const auto& child : items_) child->SetManager(manager, this);
}

Control* Container::FindControlIf(const std::function<bool(Control&)>& match) {
  if (match(*this)) return this;
  for (const auto& child : items_) {
    if (Control* found = child->FindControlIf(match)) return found;
  }
  return nullptr;
}

Control* Container::FindControlAt(int x, int y) {
  if (!IsVisible() || !IsEnabled() || !GetPos().Contains(x, y)) return nullptr;
  // Later children are drawn over earlier ones, so they are hit first.
  for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
    if (Control* hit = (*it)->FindControlAt(x, y)) return hit;
  }
  return WantsMouseAt(x, y) ? this : nullptr;
}

}  // namespace ui
