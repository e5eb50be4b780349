#ifndef UI_PROGRESS_H_
#define UI_PROGRESS_H_

#include "ui/label.h"

namespace ui {

// A horizontal bar filled in proportion to its value.
class Progress : public Label {
 public:
  Progress();

  int GetMinValue() const { return min_; }
  int GetMaxValue() const { return max_; }
  int GetValue() const { return value_; }
  void SetMinValue(int min);
  void SetMaxValue(int max);
  // Clamped to [min, max].
  void SetValue(int value);
  // The filled fraction, 0..1.
  double GetFraction() const;

  const std::wstring& GetForeImage() const { return fore_image_; }
  Color GetForeColor() const { return fore_color_; }

  void SetAttribute(std::string_view name, std::string_view value) override;

 private:
  int min_ = 0;
  int max_ = 100;
  int value_ = 0;
  std::wstring fore_image_;
  Color fore_color_ = kColorNone;
};

}  // namespace ui

#endif  // UI_PROGRESS_H_
