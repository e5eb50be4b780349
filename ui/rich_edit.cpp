#include "ui/rich_edit.h"

namespace ui {

RichEdit::RichEdit() : Edit("RichEdit") {
  MutableTextStyle().multiline = true;
  MutableTextStyle().valign = VerticalAlign::kTop;
}

}  // namespace ui
