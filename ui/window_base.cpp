#include "ui/window_base.h"

#include <easylogging++.h>

#include "ui/builder.h"
#include "ui/messages.h"
#include "ui/resources.h"
#include "ui/ui_tasks.h"
#include "platform/utf8.h"

namespace ui {
namespace {

std::string SkinPath(const std::wstring& folder, const std::wstring& file) {
  std::wstring path = folder;
  if (!path.empty() && path.back() != L'/' && path.back() != L'\\') path.push_back(L'/');
  return platform::ToUtf8(path + file);
}

}  // namespace

WindowBase::WindowBase() = default;

WindowBase::~WindowBase() {
  // Derived parts are gone: no handler may run any more.
  TearDown();
  manager_.RemoveNotifier(this);
}

bool WindowBase::Create(WindowBase* owner, const std::wstring& title, int x, int y, int width,
                        int height) {
  return CreateWindow(owner, title, x, y, width, height, false);
}

bool WindowBase::CreateHeadless() { return CreateWindow(nullptr, L"", 0, 0, 0, 0, true); }

bool WindowBase::CreateWindow(WindowBase* owner, const std::wstring& title, int x, int y,
                              int width, int height, bool headless) {
  if (IsWindow()) return false;
  const std::shared_ptr<Package> package = ResourcePackage();
  const std::string path = SkinPath(GetSkinFolder(), GetSkinFile());
  if (!package) {
    LOG(INFO) << "window " << platform::ToUtf8(GetWindowClassName()) << ": no skin package";
    return false;
  }
  std::string error;
  std::unique_ptr<Control> root = Build(*package, path, &manager_, &error);
  if (!root) {
    LOG(INFO) << "window " << platform::ToUtf8(GetWindowClassName()) << ": " << error;
    return false;
  }
  manager_.SetPackage(package);
  manager_.AddNotifier(this);
  manager_.AttachRoot(std::move(root));

  // The layout sizes the window; the creation size only stands in for a
  // layout without one.
  Size size = manager_.GetWindowAttributes().size;
  if (size.IsEmpty()) size = Size{width, height};
  {
    std::lock_guard lock(liveness_mutex_);
    liveness_ = std::make_shared<Liveness>(this);
  }
  native_ = CreateNativeWindow(headless, *this, manager_, owner ? owner->native_.get() : nullptr,
                               GetWindowClassName(), size);
  native_->SetTitle(title);
  native_->Move(x, y);
  manager_.SetInvalidateCallback([this](Rect rect) { native_->Invalidate(rect); });
  manager_.SetClientSize(size.width, size.height);
  manager_.SendNotify(manager_.GetRoot(), "windowinit");
  InitWindow();
  return true;
}

void WindowBase::CenterWindow() {
  if (native_) native_->Center();
}

void WindowBase::ShowWindow(bool show, bool takeFocus) {
  if (native_) native_->Show(show, takeFocus);
}

void WindowBase::BringToFront() {
  if (native_) native_->Present();
}

void WindowBase::Minimize() {
  if (native_) native_->Minimize();
}

void WindowBase::ResizeClient(int width, int height) {
  if (!native_) return;
  native_->ResizeClient(width, height);
  manager_.SetClientSize(width, height);
}

Rect WindowBase::GetWindowRect() const { return native_ ? native_->GetRect() : Rect{}; }

void WindowBase::MoveWindow(int x, int y, int width, int height) {
  if (!native_) return;
  native_->Move(x, y);
  ResizeClient(width, height);
}

void WindowBase::Close(unsigned code) {
  if (IsWindow()) Dispatch(WM_CLOSE, code, 0);
}

bool WindowBase::PostMessage(unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) {
  std::shared_ptr<Liveness> liveness = CurrentLiveness();
  if (!liveness || !liveness->alive) return false;
  PostUiTask([liveness, msg, wparam, lparam] {
    if (liveness->alive) liveness->window->Dispatch(msg, wparam, lparam);
  });
  return true;
}

bool WindowBase::SetTimer(unsigned id, unsigned elapseMs) {
  if (!IsWindow()) return false;
  KillTimer(id);
  timers_[id] = AddUiTimer(elapseMs, [this, id] { Dispatch(WM_TIMER, id, 0); });
  return true;
}

bool WindowBase::KillTimer(unsigned id) {
  const auto it = timers_.find(id);
  if (it == timers_.end()) return false;
  RemoveUiTimer(it->second);
  timers_.erase(it);
  return true;
}

bool WindowBase::IsWindow() const {
  const std::shared_ptr<Liveness> liveness = CurrentLiveness();
  return liveness && liveness->alive;
}

bool WindowBase::IsHeadless() const { return native_ && native_->IsHeadless(); }

void WindowBase::Notify(ui::Notify& msg) {
  if (msg.type == "click") {
    OnClick(msg);
  } else if (msg.type == "itemselect") {
    OnItemSelect(msg);
  } else if (msg.type == "selectchanged") {
    OnSelectChanged(msg);
  }
}

std::intptr_t WindowBase::HandleMessage(unsigned msg, std::uintptr_t, std::intptr_t,
                                        bool& handled) {
  if (msg == WM_CLOSE) {
    handled = true;
    Destroy();
  }
  return 0;
}

void WindowBase::Dispatch(unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) {
  // A handler may destroy the window, or even the object.
  const std::shared_ptr<Liveness> liveness = CurrentLiveness();
  bool handled = false;
  HandleMessage(msg, wparam, lparam, handled);
  if (msg == WM_CLOSE && !handled && liveness->alive) Destroy();
}

void WindowBase::Destroy() {
  const std::shared_ptr<Liveness> liveness = CurrentLiveness();
  if (!liveness || !liveness->alive) return;
  // From here on nothing more is delivered, even from WM_DESTROY's handler.
  liveness->alive = false;
  bool handled = false;
  HandleMessage(WM_DESTROY, 0, 0, handled);
  TearDown();
  OnFinalMessage();
}

void WindowBase::TearDown() {
  if (const std::shared_ptr<Liveness> liveness = CurrentLiveness()) liveness->alive = false;
  for (const auto& [id, timer] : timers_) RemoveUiTimer(timer);
  timers_.clear();
  manager_.SetInvalidateCallback(nullptr);
  native_.reset();
}

std::shared_ptr<WindowBase::Liveness> WindowBase::CurrentLiveness() const {
  std::lock_guard lock(liveness_mutex_);
  return liveness_;
}

void WindowBase::OnCloseRequested() { Close(); }

void WindowBase::OnClientSizeChanged(int width, int height) {
  manager_.SetClientSize(width, height);
}

}  // namespace ui
