#ifndef UI_RECT_H_
#define UI_RECT_H_

namespace ui {

// Edges in client pixels; right and bottom are exclusive. Also used for
// four-sided insets (padding, inset, textpadding), where each field is a width.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right > left ? right - left : 0; }
  int Height() const { return bottom > top ? bottom - top : 0; }
  bool IsEmpty() const { return Width() == 0 || Height() == 0; }
  bool Contains(int x, int y) const {
    return x >= left && x < right && y >= top && y < bottom;
  }
  // This rectangle shrunk by an inset on every side.
  Rect Deflated(const Rect& inset) const {
    return Rect{left + inset.left, top + inset.top, right - inset.right,
                bottom - inset.bottom};
  }
  bool operator==(const Rect&) const = default;
};

}  // namespace ui

#endif  // UI_RECT_H_
