#ifndef UI_BUILDER_H_
#define UI_BUILDER_H_

#include <memory>
#include <string>
#include <string_view>

#include "ui/control.h"
#include "ui/package.h"

namespace ui {

class PaintManager;

// Builds the control tree of a layout document (ui/LAYOUT.md) from a package.
// A `Window` root hands its attributes, fonts and defaults to `manager` (when
// given) and yields its control child. nullptr with `*error` set when the
// document cannot be read or parsed or holds no control; problems inside it
// (bad values, unreadable includes) are logged and skipped.
std::unique_ptr<Control> Build(const Package& pkg, const std::string& path,
                               PaintManager* manager, std::string* error);
// The same for a document given as text; includes are read from `pkg`.
std::unique_ptr<Control> BuildFromString(const Package& pkg, std::string_view xml,
                                         PaintManager* manager, std::string* error);

// The control an element name stands for; a plain Control (a Container when
// `has_children`) for names the library does not know.
std::unique_ptr<Control> CreateControl(std::string_view element, bool has_children);

}  // namespace ui

#endif  // UI_BUILDER_H_
