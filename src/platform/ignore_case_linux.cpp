#include "platform/ignore_case.h"

#include <glib.h>

namespace platform {

bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] &&
        g_unichar_tolower(static_cast<gunichar>(a[i])) !=
            g_unichar_tolower(static_cast<gunichar>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace platform
