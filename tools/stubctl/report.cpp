#include <iostream>

#include "commands.h"

namespace stubctl {

int ReportError(std::string_view command, const std::string& message) {
  std::cerr << "stubctl " << command << ": error: " << message << '\n';
  return 1;
}

void ReportWarning(std::string_view command, const std::string& message) {
  std::cerr << "stubctl " << command << ": warning: " << message << '\n';
}

}  // namespace stubctl
