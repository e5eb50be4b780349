#include "platform/os_release.h"

#include "platform/shell_assignment.h"

namespace platform {

OsRelease ParseOsRelease(std::string_view contents) {
  return OsRelease{FindShellAssignment(contents, "NAME").value_or("Linux"),
                   FindShellAssignment(contents, "VERSION_ID").value_or("")};
}

}  // namespace platform
