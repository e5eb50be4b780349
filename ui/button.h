#ifndef UI_BUTTON_H_
#define UI_BUTTON_H_

#include <optional>

#include "ui/label.h"

namespace ui {

// A clickable label drawn from a strip of four states (normal, hot, pushed,
// disabled) side by side in one image.
class Button : public Label {
 public:
  enum class State { kNormal = 0, kHot = 1, kPushed = 2, kDisabled = 3 };

  explicit Button(std::string class_name = "Button");

  const std::wstring& GetStateImage() const { return state_image_; }
  void SetStateImage(std::wstring path);
  // The text colour for a state; states without their own use `textcolor`.
  Color GetStateTextColor(State state) const;

  void SetAttribute(std::string_view name, std::string_view value) override;
  bool WantsMouseAt(int x, int y) const override;
  // Raises "click".
  void Activate() override;

 private:
  std::wstring state_image_;
  std::optional<Color> hot_text_color_;
  std::optional<Color> pushed_text_color_;
};

}  // namespace ui

#endif  // UI_BUTTON_H_
