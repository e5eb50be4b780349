#ifndef UI_MARKUP_H_
#define UI_MARKUP_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/color.h"
#include "ui/font.h"

typedef struct _PangoAttrList PangoAttrList;

namespace ui {

// Inline markup ({f 1}, {c #RRGGBB}, {a}, ... see ui/LAYOUT.md) resolved into
// plain UTF-8 text and non-overlapping styled runs.
struct MarkupText {
  struct Run {
    std::size_t start = 0;  // byte offsets into `text`
    std::size_t end = 0;
    int font = -1;  // -1: the control's own font
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::optional<Color> color;  // explicit colour; otherwise link or control colour
    int link = -1;               // index into `links`
    bool operator==(const Run&) const = default;
  };
  struct Link {
    std::size_t start = 0;
    std::size_t end = 0;
    std::wstring target;  // the {a target} argument, else the link's text
  };

  std::string text;
  std::vector<Run> runs;
  std::vector<Link> links;
};

MarkupText ParseMarkup(std::wstring_view source);

// Pango attributes for the runs: fonts from `fonts`, links in `link_color`
// (`hot_link` in `link_hover_color`). The caller owns the returned list.
PangoAttrList* CreatePangoAttributes(const MarkupText& markup, const FontTable& fonts,
                                     Color link_color, Color link_hover_color,
                                     int hot_link);

}  // namespace ui

#endif  // UI_MARKUP_H_
