#include "config/configuration_labels.h"

#include "system/decimal.h"
#include "ui/control.h"
#include "ui/paint_manager.h"

std::wstring ConfigurationLabelText(ui::PaintManager& manager, const wchar_t* name) {
  ui::Control* label = manager.FindControl(name);
  return label ? label->GetText() : std::wstring();
}

int ConfigurationLabelInt(ui::PaintManager& manager, const wchar_t* name) {
  return AtoI(ConfigurationLabelText(manager, name));
}
