#ifndef UI_PAINT_MANAGER_H_
#define UI_PAINT_MANAGER_H_

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/combo_drop_down.h"
#include "ui/control.h"
#include "ui/font.h"
#include "ui/image_cache.h"
#include "ui/notifier.h"
#include "ui/package.h"
#include "ui/window_attributes.h"

typedef struct _cairo cairo_t;

namespace ui {

class Combo;

// The model of one window, independent of any screen: window attributes,
// fonts, the control tree, mouse state and notifications. The host feeds it
// input in client pixels and lets it paint.
class PaintManager {
 public:
  PaintManager();
  PaintManager(const PaintManager&) = delete;
  PaintManager& operator=(const PaintManager&) = delete;
  ~PaintManager();

  const WindowAttributes& GetWindowAttributes() const { return attributes_; }
  void SetWindowAttributes(const WindowAttributes& attributes);

  void AddFont(int id, const Font& font, bool is_default = false);
  // Font `id`; the default font when there is no such entry.
  const Font& GetFont(int id) const;
  const FontTable& GetFonts() const { return fonts_; }
  // `<Default>` styles by name; empty when there is none.
  void SetDefaultAttribute(const std::wstring& name, std::wstring value);
  std::wstring GetDefaultAttribute(const std::wstring& name) const;

  // Where images come from: this package, else the process-wide one. Paths
  // missing at the package root are looked up in `folder` (the skin folder).
  void SetPackage(std::shared_ptr<Package> package);
  std::shared_ptr<Package> GetPackage() const;
  void SetResourceFolder(std::string folder);
  // The decoded image for a layout path; nullptr when it cannot be loaded.
  cairo_surface_t* GetImage(const std::wstring& path);

  // Takes the control tree, attaches it and lays it out.
  void AttachRoot(std::unique_ptr<Control> root);
  Control* GetRoot() const { return root_.get(); }
  Control* FindControl(const std::wstring& name) const;
  Control* FindSubControlByName(Control* parent, const std::wstring& name) const;

  void AddNotifier(INotifyUI* notifier);
  void RemoveNotifier(INotifyUI* notifier);
  void SendNotify(Control* sender, const std::string& type, std::uintptr_t wparam = 0,
                  std::intptr_t lparam = 0);
  void SendNotify(ui::Notify& msg);

  // Lays the tree out for a new client size.
  void SetClientSize(int width, int height);
  Size GetClientSize() const { return client_; }
  // Something changed size or visibility: lay out again and repaint.
  void NeedUpdate();
  void Invalidate(const Rect& rect);
  // Called with the area to repaint.
  void SetInvalidateCallback(std::function<void(Rect)> callback);

  void OnMouseMove(int x, int y);
  void OnMouseDown(int x, int y);
  void OnMouseUp(int x, int y);
  void OnMouseLeave();
  // Scrolls the innermost scrolling layout under the point by `notches` of
  // the wheel (positive: down).
  void OnMouseWheel(int x, int y, int notches);
  // In the caption area and not over an enabled control that takes the mouse.
  bool IsCaptionAt(int x, int y) const;
  // Over an enabled control that takes the mouse (for the pointer shape).
  bool IsClickableAt(int x, int y) const;
  Control* GetHotControl() const { return hot_; }
  Control* GetPressedControl() const { return pressed_; }
  // The hovered markup link of the hot control, or -1.
  int GetHotLink() const { return hot_link_; }

  void ShowDropDown(Combo& combo);
  const ComboDropDown& GetDropDown() const { return drop_down_; }

  void Paint(cairo_t* cr);

 private:
  Control* HitTest(int x, int y) const;
  void SetHot(Control* hot, int x, int y);
  void CloseDropDown();
  void ResetMouseState();

  WindowAttributes attributes_;
  FontTable fonts_;
  int default_font_ = -1;
  std::map<std::wstring, std::wstring> defaults_;
  std::shared_ptr<Package> package_;
  std::string resource_folder_;
  ImageCache images_;
  std::unique_ptr<Control> root_;
  std::vector<INotifyUI*> notifiers_;
  Size client_;
  bool laying_out_ = false;
  std::function<void(Rect)> invalidate_;
  Control* hot_ = nullptr;
  Control* pressed_ = nullptr;
  int hot_link_ = -1;
  ComboDropDown drop_down_;
  bool swallow_release_ = false;  // the press closed the drop-down
};

}  // namespace ui

#endif  // UI_PAINT_MANAGER_H_
