#include "ui/ui_tasks.h"

#include <glib.h>

namespace ui {
namespace {

using Task = std::function<void()>;

void DeleteTask(gpointer data) { delete static_cast<Task*>(data); }

gboolean RunOnce(gpointer data) {
  (*static_cast<Task*>(data))();
  return G_SOURCE_REMOVE;
}

gboolean RunRepeating(gpointer data) {
  (*static_cast<Task*>(data))();
  return G_SOURCE_CONTINUE;
}

}  // namespace

void PostUiTask(std::function<void()> task) {
  // Default priority rather than idle: like posted window messages, tasks
  // come before repaints.
  g_idle_add_full(G_PRIORITY_DEFAULT, RunOnce, new Task(std::move(task)), DeleteTask);
}

unsigned AddUiTimer(unsigned interval_ms, std::function<void()> tick) {
  return g_timeout_add_full(G_PRIORITY_DEFAULT, interval_ms, RunRepeating,
                            new Task(std::move(tick)), DeleteTask);
}

void RemoveUiTimer(unsigned id) { g_source_remove(id); }

}  // namespace ui
