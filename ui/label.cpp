#include "ui/label.h"

#include "ui/markup.h"
#include "ui/paint_manager.h"
#include "ui/text_layout.h"

namespace ui {

Label::Label(std::string class_name) : Control(std::move(class_name)) {}

Rect Label::GetTextRect() const { return GetPos().Deflated(GetTextStyle().padding); }

int Label::LinkAt(int x, int y) const {
  if (!GetTextStyle().show_html || !GetManager()) return -1;
  const TextLayout layout(*GetManager(), GetText(), GetTextStyle(), GetTextRect());
  return layout.LinkAt(x, y);
}

std::wstring Label::GetLinkTarget(int index) const {
  const MarkupText markup = ParseMarkup(GetText());
  if (index < 0 || static_cast<size_t>(index) >= markup.links.size()) return {};
  return markup.links[static_cast<size_t>(index)].target;
}

bool Label::WantsMouseAt(int x, int y) const { return LinkAt(x, y) >= 0; }

}  // namespace ui
