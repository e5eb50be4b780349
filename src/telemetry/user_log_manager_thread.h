#pragma once
// The sender thread of the event log.

#include "telemetry/user_log_state.h"

namespace telemetry {

// Resolves the machine's identity once, then sends the queued events, each
// failed one up to three more times from the back of its queue, until a
// stop is requested and both queues are empty.
void UserLogManagerThread(UserLogState& state);

}  // namespace telemetry
