#pragma once
// The event log's calls into the real web log object of CreateExportObj,
// which this transport owns and gives back with DestroyExportObj.

#include <memory>

#include "telemetry/user_log_transport.h"

class IWebLog;

namespace telemetry {

class WebLogTransport : public UserLogTransport {
 public:
  // Null when CreateExportObj gives no object.
  static std::unique_ptr<UserLogTransport> Create();

  ~WebLogTransport() override;
  WebLogTransport(const WebLogTransport&) = delete;
  WebLogTransport& operator=(const WebLogTransport&) = delete;

  int GetUserInfo(const char** guid, const char** userId) override;
  int SendGA4Event(const std::string& query) override;
  int SoftDataReport(const std::string& body) override;

 private:
  explicit WebLogTransport(IWebLog* webLog) : webLog_(webLog) {}

  IWebLog* const webLog_;
};

}  // namespace telemetry
