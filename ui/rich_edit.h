#ifndef UI_RICH_EDIT_H_
#define UI_RICH_EDIT_H_

#include "ui/edit.h"

namespace ui {

// A multi-line text field (license texts and the like), wrapping by default.
class RichEdit : public Edit {
 public:
  RichEdit();
};

}  // namespace ui

#endif  // UI_RICH_EDIT_H_
