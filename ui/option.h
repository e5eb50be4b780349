#ifndef UI_OPTION_H_
#define UI_OPTION_H_

#include "ui/button.h"

namespace ui {

// A button that stays selected. Options sharing a group name are exclusive
// within their window; an option without a group toggles.
class Option : public Button {
 public:
  explicit Option(std::string class_name = "Option");

  bool IsSelected() const { return selected_; }
  // Raises "selectchanged" for every option whose state changes when `notify`.
  void Selected(bool selected, bool notify = true);
  const std::string& GetGroup() const { return group_; }
  // Four states used while selected; the plain strip when empty.
  const std::wstring& GetSelectedStateImage() const { return selected_state_image_; }

  void SetAttribute(std::string_view name, std::string_view value) override;
  // Raises "click", then selects (or toggles).
  void Activate() override;

 protected:
  // Whether options of the same group give up their selection for this one.
  virtual bool IsGrouped() const { return !group_.empty(); }

 private:
  void DeselectGroup(bool notify);

  bool selected_ = false;
  std::string group_;
  std::wstring selected_state_image_;
};

}  // namespace ui

#endif  // UI_OPTION_H_
