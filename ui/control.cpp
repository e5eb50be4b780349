#include "ui/control.h"

#include <algorithm>

#include "ui/attribute_values.h"
#include "ui/paint_manager.h"
#include "platform/utf8.h"

namespace ui {
namespace {

int NonNegative(int value) { return std::max(value, 0); }

// "left vcenter", "center,bottom": each word sets one axis.
void ParseAlign(std::string_view value, TextStyle& style) {
  while (!value.empty()) {
    const size_t end = value.find_first_of(" ,\t");
    const std::string_view word = value.substr(0, end);
    if (word == "left") style.halign = HorizontalAlign::kLeft;
    else if (word == "center") style.halign = HorizontalAlign::kCenter;
    else if (word == "right") style.halign = HorizontalAlign::kRight;
    else if (word == "top") style.valign = VerticalAlign::kTop;
    else if (word == "vcenter") style.valign = VerticalAlign::kCenter;
    else if (word == "bottom") style.valign = VerticalAlign::kBottom;
    if (end == std::string_view::npos) break;
    value.remove_prefix(end + 1);
  }
}

template <class T>
void Assign(T& field, const std::optional<T>& parsed) {
  if (parsed) field = *parsed;
}

}  // namespace

Control::Control(std::string class_name) : class_name_(std::move(class_name)) {}

Control::~Control() = default;

void Control::SetText(std::wstring text) {
  if (text == text_) return;
  text_ = std::move(text);
  Invalidate();
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  NeedUpdate();
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Invalidate();
}

void Control::SetFixedWidth(int width) {
  fixed_.width = NonNegative(width);
  NeedUpdate();
}

void Control::SetFixedHeight(int height) {
  fixed_.height = NonNegative(height);
  NeedUpdate();
}

void Control::SetBkColor(Color color) {
  bk_color_ = color;
  Invalidate();
}

void Control::SetBkImage(std::wstring path) {
  bk_image_ = std::move(path);
  Invalidate();
}

void Control::SetTextColor(Color color) {
  text_style_.text_color = color;
  Invalidate();
}

void Control::SetFont(int font_id) {
  text_style_.font = font_id;
  Invalidate();
}

void Control::SetAttribute(std::string_view name, std::string_view value) {
  TextStyle& ts = text_style_;
  if (name == "name") name_ = platform::FromUtf8(value);
  else if (name == "text") SetText(platform::FromUtf8(value));
  else if (name == "tooltip") tooltip_ = platform::FromUtf8(value);
  else if (name == "bkimage") SetBkImage(platform::FromUtf8(value));
  else if (name == "visible") SetVisible(ParseBool(value).value_or(visible_));
  else if (name == "enabled") SetEnabled(ParseBool(value).value_or(enabled_));
  else if (name == "float") Assign(float_, ParseBool(value));
  else if (name == "width") SetFixedWidth(ParseInt(value).value_or(fixed_.width));
  else if (name == "height") SetFixedHeight(ParseInt(value).value_or(fixed_.height));
  else if (name == "minwidth") min_.width = NonNegative(ParseInt(value).value_or(min_.width));
  else if (name == "maxwidth") max_.width = NonNegative(ParseInt(value).value_or(max_.width));
  else if (name == "minheight") min_.height = NonNegative(ParseInt(value).value_or(min_.height));
  else if (name == "maxheight") max_.height = NonNegative(ParseInt(value).value_or(max_.height));
  else if (name == "padding") Assign(padding_, ParseRect(value));
  else if (name == "pos") Assign(float_pos_, ParseRect(value));
  else if (name == "bkcolor") Assign(bk_color_, ParseColor(value));
  else if (name == "bordercolor") Assign(border_color_, ParseColor(value));
  else if (name == "bordersize") border_size_ = NonNegative(ParseInt(value).value_or(border_size_));
  else if (name == "borderround") Assign(border_round_, ParseSize(value));
  else if (name == "font") Assign(ts.font, ParseInt(value));
  else if (name == "textcolor") Assign(ts.text_color, ParseColor(value));
  else if (name == "disabledtextcolor") ts.disabled_text_color = ParseColor(value);
  else if (name == "align") ParseAlign(value, ts);
  else if (name == "textpadding") Assign(ts.padding, ParseRect(value));
  else if (name == "showhtml") Assign(ts.show_html, ParseBool(value));
  else if (name == "multiline") Assign(ts.multiline, ParseBool(value));
  else if (name == "endellipsis") Assign(ts.end_ellipsis, ParseBool(value));
}

void Control::SetManager(PaintManager* manager, Control* parent) {
  manager_ = manager;
  parent_ = parent;
}

Control* Control::FindControl(const std::wstring& name) {
  if (name.empty()) return nullptr;
  return FindControlIf([&name](Control& c) { return c.GetName() == name; });
}

Control* Control::FindControlIf(const std::function<bool(Control&)>& match) {
  return match(*this) ? this : nullptr;
}

Control* Control::FindControlAt(int x, int y) {
  if (!visible_ || !enabled_ || !pos_.Contains(x, y)) return nullptr;
  return WantsMouseAt(x, y) ? this : nullptr;
}

bool Control::WantsMouseAt(int, int) const { return false; }

void Control::Invalidate() {
  if (manager_) manager_->Invalidate(pos_);
}

void Control::NeedUpdate() {
  if (manager_) manager_->NeedUpdate();
}

void Control::SendNotify(const std::string& type, std::uintptr_t wparam,
                         std::intptr_t lparam) {
  if (manager_) manager_->SendNotify(this, type, wparam, lparam);
}

}  // namespace ui
