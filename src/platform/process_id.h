// The running process's id, as the log and the analytics report it.
#pragma once

namespace platform {

int GetCurrentProcessId();

}  // namespace platform
