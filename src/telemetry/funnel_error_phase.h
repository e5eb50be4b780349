#pragma once
// A funnel phase of errors ("FlowError", "FlowIsChToolKitError"): opened by
// the first error of the process, one step per error after that, closed
// when the program closes.

#include <mutex>
#include <string>

class CSingleUserLog;

namespace telemetry {

class FunnelErrorPhase {
 public:
  // `kitSteps`: the per-error steps are sent as kit events.
  FunnelErrorPhase(std::string coreFuncName, bool kitSteps);
  FunnelErrorPhase(const FunnelErrorPhase&) = delete;
  FunnelErrorPhase& operator=(const FunnelErrorPhase&) = delete;

  // Queues the opening step on the first call, then the step of `code`.
  void Report(CSingleUserLog& log, const std::string& code);
  // Sends the closing step at once when the phase was opened.
  void Close(CSingleUserLog& log);

 private:
  const std::string coreFuncName_;
  const bool kitSteps_;
  // Held while queueing, so that concurrent errors keep their step order.
  std::mutex mutex_;
  bool started_ = false;
  int step_ = 0;
};

}  // namespace telemetry
