#ifndef UI_MESSAGE_LOOP_H_
#define UI_MESSAGE_LOOP_H_

namespace ui {

// Initializes the toolkit; returns whether a display is available. Without
// one the library still works: windows are headless and messages, timers and
// painting to images behave as usual.
bool InitializeUi(int* argc, char*** argv);
// What the last InitializeUi() found.
bool HasDisplay();

// Runs the UI thread's loop until PostQuitMessage(); returns its code.
int RunMessageLoop();
// Ends RunMessageLoop() with `code`. Callable from any thread, also before
// the loop runs.
void PostQuitMessage(int code);
// Runs what is ready (posted messages, due timers, pending events) without
// waiting. For tests and for callers that must let the UI catch up.
void PumpPendingMessages();

}  // namespace ui

#endif  // UI_MESSAGE_LOOP_H_
