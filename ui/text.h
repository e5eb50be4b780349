#ifndef UI_TEXT_H_
#define UI_TEXT_H_

#include "ui/label.h"

namespace ui {

// Running text, typically markup with links.
class Text : public Label {
 public:
  Text() : Label("Text") {}
};

}  // namespace ui

#endif  // UI_TEXT_H_
