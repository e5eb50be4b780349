#pragma once
// The three calls the event log makes into the web log object. The seam
// lets tests count and fail sends without a network.

#include <string>

namespace telemetry {

class UserLogTransport {
 public:
  virtual ~UserLogTransport() = default;

  // Makes the object resolve this machine's identity; 0 on success. The
  // outputs, when set, stay valid while the transport lives.
  virtual int GetUserInfo(const char** guid, const char** userId) = 0;
  // A GA4 query text; 0 when the collector took it.
  virtual int SendGA4Event(const std::string& query) = 0;
  // A funnel body; 0 when the collector took it.
  virtual int SoftDataReport(const std::string& body) = 0;
};

}  // namespace telemetry
