#ifndef UI_CONTROL_H_
#define UI_CONTROL_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "ui/color.h"
#include "ui/rect.h"
#include "ui/size.h"
#include "ui/text_style.h"

namespace ui {

class PaintManager;

// A rectangle of the window with a background, an optional text and a place
// in the control tree. Layout attributes are documented in ui/LAYOUT.md.
class Control {
 public:
  explicit Control(std::string class_name = "Control");
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  // The layout element this control was built from.
  const std::string& GetClass() const { return class_name_; }

  const std::wstring& GetName() const { return name_; }
  void SetName(std::wstring name) { name_ = std::move(name); }
  virtual std::wstring GetText() const { return text_; }
  virtual void SetText(std::wstring text);
  const std::wstring& GetToolTip() const { return tooltip_; }
  void SetToolTip(std::wstring tooltip) { tooltip_ = std::move(tooltip); }

  bool IsVisible() const { return visible_; }
  void SetVisible(bool visible);
  bool IsEnabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool IsFloat() const { return float_; }

  // 0 means "share what the layout has left".
  int GetFixedWidth() const { return fixed_.width; }
  int GetFixedHeight() const { return fixed_.height; }
  void SetFixedWidth(int width);
  void SetFixedHeight(int height);
  // Limits of a shared size; a maximum of 0 is no limit.
  Size GetMinSize() const { return min_; }
  Size GetMaxSize() const { return max_; }
  const Rect& GetPadding() const { return padding_; }
  // Position of a floating control relative to its parent.
  const Rect& GetFloatPos() const { return float_pos_; }

  Color GetBkColor() const { return bk_color_; }
  void SetBkColor(Color color);
  Color GetBorderColor() const { return border_color_; }
  int GetBorderSize() const { return border_size_; }
  Size GetBorderRound() const { return border_round_; }
  const std::wstring& GetBkImage() const { return bk_image_; }
  void SetBkImage(std::wstring path);

  const TextStyle& GetTextStyle() const { return text_style_; }
  void SetTextColor(Color color);
  void SetFont(int font_id);

  // Applies one layout attribute (UTF-8). Unknown names and malformed values
  // are ignored, leaving the current value.
  virtual void SetAttribute(std::string_view name, std::string_view value);

  // Where the last layout put the control, in client pixels.
  Rect GetPos() const { return pos_; }
  // Places the control (and lays out its children).
  virtual void SetPos(const Rect& pos) { pos_ = pos; }

  Control* GetParent() const { return parent_; }
  PaintManager* GetManager() const { return manager_; }
  // Attaches the control (and its children) to a window and a parent.
  virtual void SetManager(PaintManager* manager, Control* parent);

  // This control or a descendant with the given name, depth-first in
  // document order; nullptr when there is none.
  Control* FindControl(const std::wstring& name);
  // The first control of this subtree, in the same order, that matches.
  virtual Control* FindControlIf(const std::function<bool(Control&)>& match);
  // The topmost visible, enabled control at a point that takes mouse input
  // there, or nullptr.
  virtual Control* FindControlAt(int x, int y);

  // Whether the control takes mouse input at a point inside it.
  virtual bool WantsMouseAt(int x, int y) const;
  // The mouse was pressed and released over the control.
  virtual void Activate() {}

  // Asks the window to repaint this control.
  void Invalidate();

 protected:
  // The control's size or visibility changed: the window lays out again.
  void NeedUpdate();
  // Sends a notification through the window, when attached to one.
  void SendNotify(const std::string& type, std::uintptr_t wparam = 0,
                  std::intptr_t lparam = 0);
  TextStyle& MutableTextStyle() { return text_style_; }

 private:
  std::string class_name_;
  std::wstring name_;
  std::wstring text_;
  std::wstring tooltip_;
  bool visible_ = true;
  bool enabled_ = true;
  bool float_ = false;
  Size fixed_;
  Size min_;
  Size max_;
  Rect padding_;
  Rect float_pos_;
  Color bk_color_ = kColorNone;
  Color border_color_ = kColorNone;
  int border_size_ = 0;
  Size border_round_;
  std::wstring bk_image_;
  TextStyle text_style_;
  Rect pos_;
  Control* parent_ = nullptr;
  PaintManager* manager_ = nullptr;
};

// The control as a T, or nullptr when it is not one (or is null).
template <class T>
T* As(Control* control) {
  return dynamic_cast<T*>(control);
}
template <class T>
const T* As(const Control* control) {
  return dynamic_cast<const T*>(control);
}

}  // namespace ui

#endif  // UI_CONTROL_H_
