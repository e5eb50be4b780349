#include "ui/painter.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "ui/box_layout.h"
#include "ui/button.h"
#include "ui/cairo_shapes.h"
#include "ui/combo.h"
#include "ui/edit.h"
#include "ui/option.h"
#include "ui/paint_manager.h"
#include "ui/progress.h"
#include "ui/text_layout.h"

namespace ui {
namespace {

// Fields and lists without a background of their own.
constexpr Color kFieldColor = 0xFFFFFFFF;
constexpr Color kFieldBorderColor = 0xFFA0A0A0;
constexpr Color kHotRowColor = 0xFFCCE4F7;
constexpr Color kScrollThumbColor = 0x66000000;
constexpr int kArrowWidth = 18;
constexpr int kScrollThumbWidth = 6;
constexpr int kScrollThumbMinLength = 20;

void SetColor(cairo_t* cr, Color c) {
  cairo_set_source_rgba(cr, ColorRed(c), ColorGreen(c), ColorBlue(c), ColorAlpha(c));
}

void FillRect(cairo_t* cr, const Rect& r, Color color, Size round = {}) {
  if (ColorAlpha(color) == 0 || r.IsEmpty()) return;
  SetColor(cr, color);
  RoundedRectPath(cr, r, round);
  cairo_fill(cr);
}

void StrokeRect(cairo_t* cr, const Rect& r, Color color, int width, Size round = {}) {
  if (ColorAlpha(color) == 0 || width <= 0 || r.IsEmpty()) return;
  const double half = width / 2.0;
  cairo_save(cr);
  SetColor(cr, color);
  cairo_set_line_width(cr, width);
  cairo_translate(cr, half, half);
  RoundedRectPath(cr, Rect{r.left, r.top, r.right - width, r.bottom - width}, round);
  cairo_stroke(cr);
  cairo_restore(cr);
}

// Draws the `part`-th of `parts` equal columns of an image scaled into `dst`.
void DrawImagePart(cairo_t* cr, cairo_surface_t* image, int part, int parts, const Rect& dst) {
  if (!image || dst.IsEmpty()) return;
  const int width = cairo_image_surface_get_width(image) / parts;
  const int height = cairo_image_surface_get_height(image);
  if (width <= 0 || height <= 0) return;
  // A sub-surface with padded edges keeps the neighbouring state from
  // bleeding in when the part is scaled.
  cairo_surface_t* piece = cairo_surface_create_for_rectangle(image, part * width, 0, width, height);
  cairo_save(cr);
  cairo_rectangle(cr, dst.left, dst.top, dst.Width(), dst.Height());
  cairo_clip(cr);
  cairo_translate(cr, dst.left, dst.top);
  cairo_scale(cr, static_cast<double>(dst.Width()) / width, static_cast<double>(dst.Height()) / height);
  cairo_set_source_surface(cr, piece, 0, 0);
  cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
  cairo_paint(cr);
  cairo_restore(cr);
  cairo_surface_destroy(piece);
}

void DrawImage(cairo_t* cr, cairo_surface_t* image, const Rect& dst) {
  DrawImagePart(cr, image, 0, 1, dst);
}

Button::State StateOf(const PaintManager& m, const Control& c) {
  if (!c.IsEnabled()) return Button::State::kDisabled;
  if (m.GetHotControl() != &c) return Button::State::kNormal;
  return m.GetPressedControl() == &c ? Button::State::kPushed : Button::State::kHot;
}

Color TextColorOf(const Control& c) {
  const TextStyle& style = c.GetTextStyle();
  return c.IsEnabled() ? style.text_color : style.disabled_text_color.value_or(style.text_color);
}

void DrawText(cairo_t* cr, const PaintManager& m, const Control& c, std::wstring_view text,
              const TextStyle& style, const Rect& box, Color color) {
  if (text.empty()) return;
  const int hot_link = m.GetHotControl() == &c ? m.GetHotLink() : -1;
  TextLayout(m, text, style, box, hot_link).Paint(cr, color);
}

void PaintStateImage(cairo_t* cr, PaintManager& m, const Button& button, Button::State state) {
  const auto* option = As<Option>(&button);
  const std::wstring& strip = option && option->IsSelected() && !option->GetSelectedStateImage().empty()
                                  ? option->GetSelectedStateImage()
                                  : button.GetStateImage();
  DrawImagePart(cr, m.GetImage(strip), static_cast<int>(state), 4, button.GetPos());
}

void PaintProgress(cairo_t* cr, PaintManager& m, const Progress& progress) {
  const Rect box = progress.GetPos();
  Rect filled = box;
  filled.right = box.left + static_cast<int>(std::lround(box.Width() * progress.GetFraction()));
  if (filled.IsEmpty()) return;
  FillRect(cr, filled, progress.GetForeColor());
  cairo_save(cr);
  cairo_rectangle(cr, filled.left, filled.top, filled.Width(), filled.Height());
  cairo_clip(cr);
  DrawImage(cr, m.GetImage(progress.GetForeImage()), box);
  cairo_restore(cr);
}

// A box for controls the skin gives no background.
void PaintFieldBox(cairo_t* cr, const Control& c) {
  if (c.GetBkColor() != kColorNone || !c.GetBkImage().empty()) return;
  FillRect(cr, c.GetPos(), kFieldColor);
  if (c.GetBorderSize() == 0) StrokeRect(cr, c.GetPos(), kFieldBorderColor, 1);
}

// A thumb along the right edge showing which part of the content is in view.
void PaintScrollThumb(cairo_t* cr, const BoxLayout& layout) {
  const int range = layout.GetScrollRange();
  if (range <= 0) return;
  const Rect box = layout.GetPos();
  const int track = box.Height();
  const int thumb = std::max(kScrollThumbMinLength, track * track / (track + range));
  const int top = box.top + (track - thumb) * layout.GetScrollPos() / range;
  FillRect(cr, Rect{box.right - kScrollThumbWidth - 2, top, box.right - 2, top + thumb},
           kScrollThumbColor, Size{kScrollThumbWidth, kScrollThumbWidth});
}

void PaintCombo(cairo_t* cr, const PaintManager& m, const Combo& combo) {
  PaintFieldBox(cr, combo);
  const Rect box = combo.GetPos();
  Rect text = box.Deflated(combo.GetTextStyle().padding);
  if (!combo.GetBkImage().empty()) {
    // The skin's image brings its own arrow.
    DrawText(cr, m, combo, combo.GetText(), combo.GetTextStyle(), text, TextColorOf(combo));
    return;
  }
  text.right -= kArrowWidth;
  DrawText(cr, m, combo, combo.GetText(), combo.GetTextStyle(), text, TextColorOf(combo));
  const double cx = box.right - kArrowWidth / 2.0;
  const double cy = (box.top + box.bottom) / 2.0;
  SetColor(cr, TextColorOf(combo));
  cairo_move_to(cr, cx - 4, cy - 2);
  cairo_line_to(cr, cx + 4, cy - 2);
  cairo_line_to(cr, cx, cy + 3);
  cairo_close_path(cr);
  cairo_fill(cr);
}

void PaintDropDown(cairo_t* cr, const PaintManager& m) {
  const ComboDropDown& drop_down = m.GetDropDown();
  if (!drop_down.IsOpen()) return;
  FillRect(cr, drop_down.GetRect(), kFieldColor);
  for (const ComboDropDown::Row& row : drop_down.GetRows()) {
    const Control* item = drop_down.GetCombo()->GetItemAt(row.item);
    if (row.item == drop_down.GetHotItem()) FillRect(cr, row.rect, kHotRowColor);
    DrawText(cr, m, *item, item->GetText(), item->GetTextStyle(),
             row.rect.Deflated(item->GetTextStyle().padding), TextColorOf(*item));
  }
  StrokeRect(cr, drop_down.GetRect(), kFieldBorderColor, 1);
}

void PaintControl(cairo_t* cr, PaintManager& m, Control& c) {
  const Rect box = c.GetPos();
  if (!c.IsVisible() || box.IsEmpty()) return;
  cairo_save(cr);
  cairo_rectangle(cr, box.left, box.top, box.Width(), box.Height());
  cairo_clip(cr);
  FillRect(cr, box, c.GetBkColor(), c.GetBorderRound());
  DrawImage(cr, m.GetImage(c.GetBkImage()), box);

  if (auto* progress = As<Progress>(&c)) PaintProgress(cr, m, *progress);
  if (auto* combo = As<Combo>(&c)) {
    PaintCombo(cr, m, *combo);
  } else if (auto* container = As<Container>(&c)) {
    for (int i = 0; i < container->GetCount(); ++i) PaintControl(cr, m, *container->GetItemAt(i));
    if (auto* layout = As<BoxLayout>(&c)) PaintScrollThumb(cr, *layout);
  } else if (auto* label = As<Label>(&c)) {
    Color color = TextColorOf(c);
    if (auto* button = As<Button>(&c)) {
      const Button::State state = StateOf(m, c);
      PaintStateImage(cr, m, *button, state);
      color = button->GetStateTextColor(state);
    }
    if (As<Edit>(&c)) PaintFieldBox(cr, c);
    DrawText(cr, m, c, c.GetText(), c.GetTextStyle(), label->GetTextRect(), color);
  }
  StrokeRect(cr, box, c.GetBorderColor(), c.GetBorderSize(), c.GetBorderRound());
  cairo_restore(cr);
}

}  // namespace

void PaintWindow(cairo_t* cr, PaintManager& m) {
  const Size client = m.GetClientSize();
  FillRect(cr, Rect{0, 0, client.width, client.height}, m.GetWindowAttributes().bk_color);
  if (m.GetRoot()) PaintControl(cr, m, *m.GetRoot());
  PaintDropDown(cr, m);
}

cairo_surface_t* RenderToSurface(PaintManager& manager) {
  const Size client = manager.GetClientSize();
  if (client.IsEmpty()) return nullptr;
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, client.width, client.height);
  cairo_t* cr = cairo_create(surface);
  PaintWindow(cr, manager);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  return surface;
}

bool RenderToPng(PaintManager& manager, const std::string& path) {
  cairo_surface_t* surface = RenderToSurface(manager);
  if (!surface) return false;
  const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return ok;
}

}  // namespace ui
