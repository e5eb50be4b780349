// Bringing the window of an already running instance to the front, standing
// in for FindWindow(className) + SetForegroundWindow from a second instance.
//
// Linux: the first instance listens on an abstract Unix socket named after
// the window class and the user ("\0installer-stub/<uid>/<class>"); a second
// instance connects, sends "activate\n" and waits for "ok\n". The first
// instance raises its own window in onActivate: one process cannot raise
// another's window portably under X11 and Wayland. Only peers of the same
// user are served. A silent or slow client is dropped after half a second,
// so it delays other callers at most that long.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace platform {

class WindowActivationListener {
 public:
  // Serves activation requests for `className` until destroyed; nullptr when
  // another listener already has that name (or no socket can be made).
  // `onActivate` runs on the listener's own thread, once per request, after
  // the answer is sent: post to the UI thread from there. It must not throw.
  static std::unique_ptr<WindowActivationListener> Listen(
      const std::wstring& className, std::function<void()> onActivate);

  WindowActivationListener(const WindowActivationListener&) = delete;
  WindowActivationListener& operator=(const WindowActivationListener&) = delete;
  // Stops listening and joins the thread; waits for a running onActivate.
  ~WindowActivationListener();

 private:
  class Server;
  explicit WindowActivationListener(std::unique_ptr<Server> server);

  std::unique_ptr<Server> server_;
};

// True when a listener for `className` answered within `timeoutMs` (the
// listener then calls its onActivate). False at once when nobody listens.
bool ActivateWindowOfClass(const std::wstring& className, int timeoutMs = 2000);

}  // namespace platform
