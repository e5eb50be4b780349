#ifndef UI_MESSAGES_H_
#define UI_MESSAGES_H_

namespace ui {

// Window message numbers, with the values the application knows from Windows.
constexpr unsigned WM_DESTROY = 0x0002;
constexpr unsigned WM_CLOSE = 0x0010;
constexpr unsigned WM_TIMER = 0x0113;
constexpr unsigned WM_USER = 0x0400;

}  // namespace ui

#endif  // UI_MESSAGES_H_
