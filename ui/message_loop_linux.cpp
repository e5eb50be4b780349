#include "ui/message_loop.h"

#include <gtk/gtk.h>

#include <atomic>

namespace ui {
namespace {

std::atomic<bool> g_has_display{false};
std::atomic<bool> g_quit_requested{false};
std::atomic<int> g_quit_code{0};

}  // namespace

bool InitializeUi(int* argc, char*** argv) {
  g_has_display = gtk_init_check(argc, argv);
  return g_has_display;
}

bool HasDisplay() { return g_has_display; }

int RunMessageLoop() {
  // GTK's events and the posted messages all arrive through the default
  // GLib context, with or without a display.
  while (!g_quit_requested.exchange(false)) g_main_context_iteration(nullptr, TRUE);
  return g_quit_code;
}

void PostQuitMessage(int code) {
  g_quit_code = code;
  g_quit_requested = true;
  // Ends a blocking iteration now, or makes the next one return at once.
  g_main_context_wakeup(nullptr);
}

void PumpPendingMessages() {
  // Bounded so that a zero-interval timer cannot keep the caller here.
  constexpr int kMaxIterations = 1000;
  for (int i = 0; i < kMaxIterations && g_main_context_iteration(nullptr, FALSE); ++i) {
  }
}

}  // namespace ui
