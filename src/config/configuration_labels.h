#pragma once
// The configuration entries as label controls of a window built from the
// main layout, which includes "configure/configure.xml".

#include <string>

namespace ui {
class PaintManager;
}

// A label the layout does not have reads as an empty text.
std::wstring ConfigurationLabelText(ui::PaintManager& manager, const wchar_t* name);

// The label's text as a decimal integer in the manner of atoi; 0 without digits.
int ConfigurationLabelInt(ui::PaintManager& manager, const wchar_t* name);
