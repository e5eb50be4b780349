#include "platform/process_id.h"

#include <unistd.h>

namespace platform {

int GetCurrentProcessId() { return static_cast<int>(::getpid()); }

}  // namespace platform
