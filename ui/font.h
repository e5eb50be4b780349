#ifndef UI_FONT_H_
#define UI_FONT_H_

#include <map>
#include <string>

namespace ui {

// One entry of a window's font table (`<Font>` of a layout).
struct Font {
  std::wstring name = L"Sans";  // family; fontconfig substitutes what is missing
  int size = 12;                // pixels
  bool bold = false;
  bool italic = false;
  bool underline = false;
};

using FontTable = std::map<int, Font>;

}  // namespace ui

#endif  // UI_FONT_H_
