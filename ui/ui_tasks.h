#ifndef UI_UI_TASKS_H_
#define UI_UI_TASKS_H_

#include <functional>

namespace ui {

// Runs `task` once on the UI thread's loop. Callable from any thread.
void PostUiTask(std::function<void()> task);

// Runs `tick` on the UI thread every `interval_ms` until RemoveUiTimer().
// Returns the timer's id (never 0). UI thread only.
unsigned AddUiTimer(unsigned interval_ms, std::function<void()> tick);
void RemoveUiTimer(unsigned id);

}  // namespace ui

#endif  // UI_UI_TASKS_H_
