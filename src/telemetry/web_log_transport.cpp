#include "telemetry/web_log_transport.h"

#include "weblog/web_log_exports.h"

namespace telemetry {

std::unique_ptr<UserLogTransport> WebLogTransport::Create() {
  IWebLog* webLog = CreateExportObj();
  if (!webLog) return nullptr;
  return std::unique_ptr<UserLogTransport>(new WebLogTransport(webLog));
}

WebLogTransport::~WebLogTransport() { DestroyExportObj(webLog_); }

int WebLogTransport::GetUserInfo(const char** guid, const char** userId) {
  return webLog_->GetUserInfo(guid, userId);
}

int WebLogTransport::SendGA4Event(const std::string& query) {
  return webLog_->SendGA4Event(query.c_str());
}

int WebLogTransport::SoftDataReport(const std::string& body) {
  return webLog_->SoftDataReport(body.c_str());
}

}  // namespace telemetry
