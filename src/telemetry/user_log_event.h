#pragma once
// One event waiting in a queue of the event log: a GA4 event (category,
// action, label) or a funnel event (body), never both.

#include <string>

namespace telemetry {

struct UserLogEvent {
  std::string body;
  std::string action;
  std::string label;
  std::string category;
  int retryCount = 0;
};

}  // namespace telemetry
