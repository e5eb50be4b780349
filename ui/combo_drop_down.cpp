#include "ui/combo_drop_down.h"

#include "ui/combo.h"

namespace ui {

void ComboDropDown::Open(Combo& combo, Size client) {
  Close();
  const Rect box = combo.GetPos();
  std::vector<int> heights;
  int total = 0;
  for (int i = 0; i < combo.GetCount(); ++i) {
    const Control* item = combo.GetItemAt(i);
    if (!item->IsVisible()) continue;
    const int height = item->GetFixedHeight() > 0 ? item->GetFixedHeight() : box.Height();
    rows_.push_back({i, Rect{}});
    heights.push_back(height);
    total += height;
  }
  if (rows_.empty()) return;
  const bool below = box.bottom + total <= client.height || box.top < client.height - box.bottom;
  int y = below ? box.bottom : box.top - total;
  rect_ = Rect{box.left, y, box.right, y + total};
  for (size_t r = 0; r < rows_.size(); ++r) {
    rows_[r].rect = Rect{box.left, y, box.right, y + heights[r]};
    y += heights[r];
  }
  combo_ = &combo;
  hot_item_ = combo.GetCurSel();
}

void ComboDropDown::Close() {
  combo_ = nullptr;
  rows_.clear();
  rect_ = Rect{};
  hot_item_ = -1;
}

int ComboDropDown::ItemAt(int x, int y) const {
  for (const Row& row : rows_) {
    if (row.rect.Contains(x, y)) return row.item;
  }
  return -1;
}

bool ComboDropDown::SetHotItem(int item) {
  if (item == hot_item_) return false;
  hot_item_ = item;
  return true;
}

}  // namespace ui
