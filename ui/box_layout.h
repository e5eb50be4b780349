#ifndef UI_BOX_LAYOUT_H_
#define UI_BOX_LAYOUT_H_

#include "ui/container.h"

namespace ui {

// Stacks its children along one axis: fixed sizes first, then the space left
// shared among the others within their limits. A vertical layout with
// `vscrollbar` scrolls children taller than itself.
class BoxLayout : public Container {
 public:
  enum class Axis { kVertical, kHorizontal };

  BoxLayout(std::string class_name, Axis axis);

  // How far the content reaches beyond the visible height; 0 when it fits or
  // the layout does not scroll.
  int GetScrollRange() const { return scroll_range_; }
  int GetScrollPos() const { return scroll_pos_; }
  // Clamped to [0, GetScrollRange()].
  void SetScrollPos(int pos);

  void SetAttribute(std::string_view name, std::string_view value) override;

 protected:
  void ArrangeChildren(const Rect& inner) override;

 private:
  Axis axis_;
  bool scrollable_ = false;
  int scroll_range_ = 0;
  int scroll_pos_ = 0;
};

}  // namespace ui

#endif  // UI_BOX_LAYOUT_H_
