#ifndef UI_EDIT_H_
#define UI_EDIT_H_

#include "ui/label.h"

namespace ui {

// A one-line text field. The text is drawn by the painter; typing needs a
// native entry placed over GetPos() by the host.
class Edit : public Label {
 public:
  explicit Edit(std::string class_name = "Edit");

  bool IsReadOnly() const { return read_only_; }
  void SetReadOnly(bool read_only);
  // The most characters a user may type (programmatic text is not cut).
  int GetMaxChar() const { return max_char_; }

  void SetAttribute(std::string_view name, std::string_view value) override;
  bool WantsMouseAt(int x, int y) const override;

 private:
  bool read_only_ = false;
  int max_char_ = 255;
};

}  // namespace ui

#endif  // UI_EDIT_H_
