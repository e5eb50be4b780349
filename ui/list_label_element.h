#ifndef UI_LIST_LABEL_ELEMENT_H_
#define UI_LIST_LABEL_ELEMENT_H_

#include "ui/label.h"

namespace ui {

// An item of a Combo's list.
class ListLabelElement : public Label {
 public:
  ListLabelElement() : Label("ListLabelElement") {}
};

}  // namespace ui

#endif  // UI_LIST_LABEL_ELEMENT_H_
