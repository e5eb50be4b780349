#include "telemetry/funnel_error_phase.h"

#include "telemetry/SingleUserLog.h"

namespace telemetry {

FunnelErrorPhase::FunnelErrorPhase(std::string coreFuncName, bool kitSteps)
    : coreFuncName_(std::move(coreFuncName)), kitSteps_(kitSteps) {}

void FunnelErrorPhase::Report(CSingleUserLog& log, const std::string& code) {
  std::lock_guard lock(mutex_);
  if (!started_) {
    started_ = true;
    log.AddUserLog_funnel("CoreFuncEvent", coreFuncName_, 0, "Download", "CoreFuncStart", "null",
                          false, false);
  }
  log.AddUserLog_funnel("CoreFuncEvent", coreFuncName_, step_, "Download", code, "null", false,
                        kitSteps_);
  ++step_;
}

void FunnelErrorPhase::Close(CSingleUserLog& log) {
  {
    std::lock_guard lock(mutex_);
    if (!started_) return;
  }
  // Sent at once: the lock is not held across the network.
  log.AddUserLog_funnel("CoreFuncEvent", coreFuncName_, 0, "Download", "CoreFuncEnd", "null", true,
                        false);
}

}  // namespace telemetry
