#include "ui/box_layout.h"

#include <algorithm>
#include <vector>

#include "ui/attribute_values.h"

namespace ui {
namespace {

// One child seen along the layout's axis ("main") and across it ("cross").
struct Extent {
  int fixed = 0;  // 0: shared
  int min = 0;
  int max = 0;  // 0: unlimited
  int before = 0;  // padding
  int after = 0;
};

int Clamp(int value, int min, int max) {
  if (max > 0) value = std::min(value, max);
  return std::max(value, min);
}

// Splits `space` among the shared extents. A share outside an extent's limits
// pins that extent at the limit and the rest is split again among the others.
void ShareOut(int space, const std::vector<Extent>& extents, std::vector<int>& sizes) {
  std::vector<size_t> open;
  for (size_t i = 0; i < extents.size(); ++i) {
    if (extents[i].fixed == 0) open.push_back(i);
  }
  int remaining = std::max(space, 0);
  while (!open.empty()) {
    const int share = remaining / static_cast<int>(open.size());
    std::vector<size_t> still_open;
    for (size_t i : open) {
      const int clamped = Clamp(share, extents[i].min, extents[i].max);
      if (clamped == share) {
        still_open.push_back(i);
      } else {
        sizes[i] = clamped;
        remaining = std::max(remaining - clamped, 0);
      }
    }
    if (still_open.size() == open.size()) {
      for (size_t i : open) sizes[i] = share;
      // The rounding remainder goes to the last shared child so the children
      // fill the layout exactly.
      sizes[open.back()] += remaining - share * static_cast<int>(open.size());
      return;
    }
    open = std::move(still_open);
  }
}

}  // namespace

BoxLayout::BoxLayout(std::string class_name, Axis axis)
    : Container(std::move(class_name)), axis_(axis) {}

void BoxLayout::SetScrollPos(int pos) {
  pos = std::clamp(pos, 0, scroll_range_);
  if (pos == scroll_pos_) return;
  scroll_pos_ = pos;
  SetPos(GetPos());
  Invalidate();
}

void BoxLayout::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "vscrollbar") {
    scrollable_ = axis_ == Axis::kVertical && ParseBool(value).value_or(scrollable_);
  } else {
    Container::SetAttribute(name, value);
  }
}

void BoxLayout::ArrangeChildren(const Rect& inner) {
  const bool vertical = axis_ == Axis::kVertical;
  std::vector<Control*> flow;
  std::vector<Extent> main;
  for (int i = 0; i < GetCount(); ++i) {
    Control* child = GetItemAt(i);
    if (!InFlow(*child)) continue;
    const Rect& pad = child->GetPadding();
    flow.push_back(child);
    main.push_back(vertical ? Extent{child->GetFixedHeight(), child->GetMinSize().height,
                                     child->GetMaxSize().height, pad.top, pad.bottom}
                            : Extent{child->GetFixedWidth(), child->GetMinSize().width,
                                     child->GetMaxSize().width, pad.left, pad.right});
  }
  scroll_range_ = 0;
  if (flow.empty()) return;

  const int main_start = vertical ? inner.top : inner.left;
  const int main_length = vertical ? inner.Height() : inner.Width();
  const int cross_start = vertical ? inner.left : inner.top;
  const int cross_length = vertical ? inner.Width() : inner.Height();

  int taken = GetChildPadding() * static_cast<int>(flow.size() - 1);
  std::vector<int> sizes(flow.size(), 0);
  for (size_t i = 0; i < flow.size(); ++i) {
    taken += main[i].before + main[i].after + main[i].fixed;
    sizes[i] = main[i].fixed;
  }
  ShareOut(main_length - taken, main, sizes);

  int content = taken;
  for (size_t i = 0; i < flow.size(); ++i) content += sizes[i] - main[i].fixed;
  if (scrollable_) scroll_range_ = std::max(content - main_length, 0);
  scroll_pos_ = std::min(scroll_pos_, scroll_range_);

  int cursor = main_start - scroll_pos_;
  for (size_t i = 0; i < flow.size(); ++i) {
    Control& child = *flow[i];
    const Rect& pad = child.GetPadding();
    const int fixed_cross = vertical ? child.GetFixedWidth() : child.GetFixedHeight();
    const int before_cross = vertical ? pad.left : pad.top;
    const int after_cross = vertical ? pad.right : pad.bottom;
    const int cross =
        fixed_cross > 0
            ? fixed_cross
            : Clamp(cross_length - before_cross - after_cross,
                    vertical ? child.GetMinSize().width : child.GetMinSize().height,
                    vertical ? child.GetMaxSize().width : child.GetMaxSize().height);
    cursor += main[i].before;
    const int c0 = cross_start + before_cross;
    child.SetPos(vertical ? Rect{c0, cursor, c0 + cross, cursor + sizes[i]}
                          : Rect{cursor, c0, cursor + sizes[i], c0 + cross});
    cursor += sizes[i] + main[i].after + GetChildPadding();
  }
}

}  // namespace ui
