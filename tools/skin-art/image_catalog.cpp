#include "image_catalog.h"

#include <cstdio>

#include "background_art.h"
#include "button_art.h"
#include "control_art.h"
#include "icon_art.h"
#include "spinner_art.h"
#include "state_strip.h"

namespace skinart {
namespace {

constexpr int kLaunchFrames = 21;

// A four-state strip whose single state is `width` x `height`.
SkinImage Strip(std::string entry, int width, int height, StatePainter paint) {
  return {std::move(entry), 4 * width, height,
          [paint = std::move(paint)](cairo_t* cr, Box box) { PaintStateStrip(cr, box, paint); }};
}

StatePainter CheckBox(bool checked) {
  return [checked](cairo_t* cr, Box box, State state) { PaintCheckBox(cr, box, state, checked); };
}

StatePainter Dot(bool selected) {
  return [selected](cairo_t* cr, Box box, State state) { PaintDot(cr, box, state, selected); };
}

std::string FrameName(int frame) {
  char name[32];
  std::snprintf(name, sizeof name, "skin/gif/bg%02d.png", frame);
  return name;
}

}  // namespace

std::vector<SkinImage> SkinImages() {
  std::vector<SkinImage> images{
      {"skin/backgroud.png", 650, 360, [](cairo_t* cr, Box b) { PaintHeader(cr, b, false); }},
      {"skin/backgroud_complete.png", 650, 360,
       [](cairo_t* cr, Box b) { PaintHeader(cr, b, true); }},
      {"skin/bg_message.png", 500, 190, PaintMessageBackground},
      {"skin/waiting.png", 320, 320, PaintWaiting},
      {"skin/logo.png", 64, 64, PaintLogo},
      {"skin/message_help.png", 40, 40, PaintHelpIcon},
      {"skin/message_exclamation.png", 40, 40, PaintExclamationIcon},
      {"skin/warning.png", 20, 20, PaintWarningIcon},
      {"skin/combo.png", 220, 28, PaintCombo},
      {"skin/progress_bg.png", 586, 8, PaintProgressTrack},
      {"skin/progress_fore.png", 586, 8, PaintProgressFill},
      {"skin/scroll_thumb.png", 8, 60, PaintScrollThumb},
      Strip("skin/btn_install.png", 240, 48, PaintPrimaryButton),
      Strip("skin/btn_start.png", 240, 48, PaintPrimaryButton),
      Strip("skin/btn_yes.png", 160, 28, PaintPrimaryButton),
      Strip("skin/btn_no.png", 160, 28, PaintSecondaryButton),
      Strip("skin/btn_browse.png", 88, 30, PaintSecondaryButton),
      Strip("skin/btn_close.png", 28, 28, PaintCloseButton),
      Strip("skin/btn_min.png", 28, 28, PaintMinimiseButton),
      Strip("skin/checkbox.png", 16, 16, CheckBox(false)),
      Strip("skin/checkbox_checked.png", 16, 16, CheckBox(true)),
      Strip("skin/dot.png", 10, 10, Dot(false)),
      Strip("skin/dot_selected.png", 10, 10, Dot(true)),
  };
  for (int slide = 0; slide < 3; ++slide) {
    images.push_back({"skin/anima/" + std::to_string(slide + 1) + ".png", 650, 300,
                      [slide](cairo_t* cr, Box b) { PaintSlide(cr, b, slide); }});
  }
  for (int frame = 0; frame < kLaunchFrames; ++frame) {
    images.push_back({FrameName(frame), 320, 320, [frame](cairo_t* cr, Box b) {
                        PaintSpinnerFrame(cr, b, frame, kLaunchFrames);
                      }});
  }
  return images;
}

}  // namespace skinart
