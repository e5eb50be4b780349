#ifndef UI_SIZE_H_
#define UI_SIZE_H_

namespace ui {

struct Size {
  int width = 0;
  int height = 0;

  bool IsEmpty() const { return width <= 0 || height <= 0; }
  bool operator==(const Size&) const = default;
};

}  // namespace ui

#endif  // UI_SIZE_H_
