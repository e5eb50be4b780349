#ifndef UI_CONTAINER_H_
#define UI_CONTAINER_H_

#include <memory>
#include <vector>

#include "ui/control.h"

namespace ui {

// A control with children. The plain container gives every child its whole
// inner area; the layouts derived from it arrange them differently.
class Container : public Control {
 public:
  explicit Container(std::string class_name = "Container");
  ~Container() override;

  // Takes the child and returns it; nullptr is ignored.
  Control* Add(std::unique_ptr<Control> child);
  int GetCount() const { return static_cast<int>(items_.size()); }
  // nullptr when out of range.
  Control* GetItemAt(int index) const;

  const Rect& GetInset() const { return inset_; }
  int GetChildPadding() const { return child_padding_; }

  void SetAttribute(std::string_view name, std::string_view value) override;
  void SetPos(const Rect& pos) override;
  void SetManager(PaintManager* manager, Control* parent) override;
  Control* FindControlIf(const std::function<bool(Control&)>& match) override;
  Control* FindControlAt(int x, int y) override;

 protected:
  // Places the visible, non-floating children inside `inner`.
  virtual void ArrangeChildren(const Rect& inner);
  virtual void OnChildAdded(Control& /*child*/, int /*index*/) {}
  // A visible child that takes part in the flow (neither hidden nor floating).
  static bool InFlow(const Control& child);

 private:
  void PlaceFloating(Control& child) const;

  std::vector<std::unique_ptr<Control>> items_;
  Rect inset_;
  int child_padding_ = 0;
};

}  // namespace ui

#endif  // UI_CONTAINER_H_
