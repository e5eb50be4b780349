#include "weblog/machine_id.h"

std::string MachineIdFromText(std::string_view fileText) {
  if (!fileText.empty() && fileText.back() == '\n') fileText.remove_suffix(1);
  if (fileText.size() != 32) return {};
  for (const char c : fileText) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return {};
  }
  return std::string(fileText);
}
