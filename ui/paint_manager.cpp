#include "ui/paint_manager.h"

#include <algorithm>

#include "ui/box_layout.h"
#include "ui/combo.h"
#include "ui/label.h"
#include "ui/painter.h"
#include "ui/resources.h"
#include "platform/utf8.h"

namespace ui {
namespace {

// Pixels scrolled per wheel notch.
constexpr int kWheelStep = 40;

// Visible itself and through all its ancestors.
bool IsShown(const Control& control) {
  for (const Control* c = &control; c; c = c->GetParent()) {
    if (!c->IsVisible()) return false;
  }
  return true;
}

}  // namespace

PaintManager::PaintManager() = default;

PaintManager::~PaintManager() = default;

void PaintManager::SetWindowAttributes(const WindowAttributes& attributes) {
  attributes_ = attributes;
  Invalidate(Rect{0, 0, client_.width, client_.height});
}

void PaintManager::AddFont(int id, const Font& font, bool is_default) {
  fonts_[id] = font;
  if (is_default || default_font_ < 0) default_font_ = id;
}

const Font& PaintManager::GetFont(int id) const {
  static const Font kFallback;
  auto it = fonts_.find(id);
  if (it == fonts_.end()) it = fonts_.find(default_font_);
  return it == fonts_.end() ? kFallback : it->second;
}

void PaintManager::SetDefaultAttribute(const std::wstring& name, std::wstring value) {
  defaults_[name] = std::move(value);
}

std::wstring PaintManager::GetDefaultAttribute(const std::wstring& name) const {
  const auto it = defaults_.find(name);
  return it == defaults_.end() ? std::wstring() : it->second;
}

void PaintManager::SetPackage(std::shared_ptr<Package> package) {
  package_ = std::move(package);
  images_.Clear();
}

std::shared_ptr<Package> PaintManager::GetPackage() const {
  return package_ ? package_ : ResourcePackage();
}

void PaintManager::SetResourceFolder(std::string folder) {
  resource_folder_ = std::move(folder);
  if (!resource_folder_.empty() && resource_folder_.back() != '/' &&
      resource_folder_.back() != '\\') {
    resource_folder_.push_back('/');
  }
  images_.Clear();
}

cairo_surface_t* PaintManager::GetImage(const std::wstring& path) {
  if (path.empty()) return nullptr;
  const std::string utf8 = platform::ToUtf8(path);
  return images_.Get(Package::NormalizePath(utf8), [&]() -> std::optional<std::string> {
    const std::shared_ptr<Package> package = GetPackage();
    if (!package) return std::nullopt;
    if (auto bytes = package->Read(utf8)) return bytes;
    return resource_folder_.empty() ? std::nullopt : package->Read(resource_folder_ + utf8);
  });
}

void PaintManager::AttachRoot(std::unique_ptr<Control> root) {
  ResetMouseState();
  root_ = std::move(root);
  if (!root_) return;
  root_->SetManager(this, nullptr);
  if (client_.IsEmpty()) client_ = attributes_.size;
  NeedUpdate();
}

Control* PaintManager::FindControl(const std::wstring& name) const {
  return root_ ? root_->FindControl(name) : nullptr;
}

Control* PaintManager::FindSubControlByName(Control* parent, const std::wstring& name) const {
  return parent ? parent->FindControl(name) : nullptr;
}

void PaintManager::AddNotifier(INotifyUI* notifier) {
  if (notifier && std::find(notifiers_.begin(), notifiers_.end(), notifier) == notifiers_.end()) {
    notifiers_.push_back(notifier);
  }
}

void PaintManager::RemoveNotifier(INotifyUI* notifier) {
  std::erase(notifiers_, notifier);
}

void PaintManager::SendNotify(Control* sender, const std::string& type, std::uintptr_t wparam,
                              std::intptr_t lparam) {
  ui::Notify msg{type, sender, wparam, lparam, {}};
  SendNotify(msg);
}

void PaintManager::SendNotify(ui::Notify& msg) {
  // A notifier may add or remove notifiers while it runs.
  const std::vector<INotifyUI*> notifiers = notifiers_;
  for (INotifyUI* notifier : notifiers) {
    if (std::find(notifiers_.begin(), notifiers_.end(), notifier) != notifiers_.end()) {
      notifier->Notify(msg);
    }
  }
}

void PaintManager::SetClientSize(int width, int height) {
  client_ = Size{std::max(width, 0), std::max(height, 0)};
  CloseDropDown();
  NeedUpdate();
}

void PaintManager::NeedUpdate() {
  if (!root_ || laying_out_) return;
  laying_out_ = true;
  root_->SetPos(Rect{0, 0, client_.width, client_.height});
  laying_out_ = false;
  Invalidate(Rect{0, 0, client_.width, client_.height});
}

void PaintManager::Invalidate(const Rect& rect) {
  if (invalidate_ && !rect.IsEmpty()) invalidate_(rect);
}

void PaintManager::SetInvalidateCallback(std::function<void(Rect)> callback) {
  invalidate_ = std::move(callback);
}

Control* PaintManager::HitTest(int x, int y) const {
  return root_ ? root_->FindControlAt(x, y) : nullptr;
}

void PaintManager::SetHot(Control* hot, int x, int y) {
  const auto* label = As<Label>(hot);
  const int link = label ? label->LinkAt(x, y) : -1;
  if (hot == hot_ && link == hot_link_) return;
  if (hot_) hot_->Invalidate();
  hot_ = hot;
  hot_link_ = link;
  if (hot_) hot_->Invalidate();
}

void PaintManager::OnMouseMove(int x, int y) {
  if (drop_down_.IsOpen()) {
    if (drop_down_.SetHotItem(drop_down_.ItemAt(x, y))) Invalidate(drop_down_.GetRect());
    return;
  }
  Control* target = HitTest(x, y);
  // While a button is held only the pressed control lights up.
  if (pressed_ && target != pressed_) target = nullptr;
  SetHot(target, x, y);
}

void PaintManager::OnMouseDown(int x, int y) {
  if (drop_down_.IsOpen()) {
    Combo* combo = drop_down_.GetCombo();
    const int item = drop_down_.ItemAt(x, y);
    CloseDropDown();
    swallow_release_ = true;
    if (item >= 0) combo->SelectItem(item);
    return;
  }
  pressed_ = HitTest(x, y);
  SetHot(pressed_, x, y);
  if (pressed_) pressed_->Invalidate();
}

void PaintManager::OnMouseUp(int x, int y) {
  if (swallow_release_) {
    swallow_release_ = false;
    OnMouseMove(x, y);
    return;
  }
  Control* pressed = pressed_;
  pressed_ = nullptr;
  if (!pressed) return;
  pressed->Invalidate();
  if (HitTest(x, y) == pressed) {
    const auto* label = As<Label>(pressed);
    const int link = label ? label->LinkAt(x, y) : -1;
    if (link >= 0) {
      ui::Notify msg{"link", pressed, static_cast<std::uintptr_t>(link), 0,
                     label->GetLinkTarget(link)};
      SendNotify(msg);
    } else {
      pressed->Activate();
    }
  }
  // The handlers may have changed the tree; look again.
  if (!drop_down_.IsOpen()) SetHot(HitTest(x, y), x, y);
}

void PaintManager::OnMouseLeave() {
  SetHot(nullptr, 0, 0);
  if (drop_down_.SetHotItem(-1)) Invalidate(drop_down_.GetRect());
}

void PaintManager::OnMouseWheel(int x, int y, int notches) {
  if (!root_ || drop_down_.IsOpen()) return;
  BoxLayout* target = nullptr;
  // Document order visits outer layouts first; the last match is innermost.
  root_->FindControlIf([&](Control& c) {
    auto* box = As<BoxLayout>(&c);
    if (box && box->GetScrollRange() > 0 && box->GetPos().Contains(x, y) && IsShown(c)) {
      target = box;
    }
    return false;
  });
  if (!target) return;
  target->SetScrollPos(target->GetScrollPos() + notches * kWheelStep);
  SetHot(pressed_ ? nullptr : HitTest(x, y), x, y);
}

bool PaintManager::IsCaptionAt(int x, int y) const {
  const Rect& c = attributes_.caption;
  const int bottom = c.bottom > 0 ? c.top + c.bottom : c.top;
  const int top = c.bottom > 0 ? c.top : 0;
  const Rect area{c.left, top, client_.width - c.right, bottom};
  return area.Contains(x, y) && !drop_down_.IsOpen() && !HitTest(x, y);
}

bool PaintManager::IsClickableAt(int x, int y) const {
  return drop_down_.IsOpen() ? drop_down_.ItemAt(x, y) >= 0 : HitTest(x, y) != nullptr;
}

void PaintManager::ShowDropDown(Combo& combo) {
  CloseDropDown();
  drop_down_.Open(combo, client_);
  Invalidate(drop_down_.GetRect());
}

void PaintManager::CloseDropDown() {
  if (!drop_down_.IsOpen()) return;
  Invalidate(drop_down_.GetRect());
  drop_down_.Close();
}

void PaintManager::ResetMouseState() {
  hot_ = nullptr;
  pressed_ = nullptr;
  hot_link_ = -1;
  swallow_release_ = false;
  drop_down_.Close();
}

void PaintManager::Paint(cairo_t* cr) { PaintWindow(cr, *this); }

}  // namespace ui
