#pragma once
// Calls back on the UI thread when the session asks the process to end
// (SIGTERM, SIGINT, SIGHUP), so that the window closes and start-up shuts
// down in its usual order instead of dying mid-way.

#include <functional>

class TerminationRequest {
 public:
  explicit TerminationRequest(std::function<void()> onRequest);
  ~TerminationRequest();
  TerminationRequest(const TerminationRequest&) = delete;
  TerminationRequest& operator=(const TerminationRequest&) = delete;

 private:
  std::function<void()> onRequest_;
  unsigned sources_[3] = {};
};
