// The process's CSingleUserLog, on the real web log object and machine.
#include "telemetry/SingleUserLog.h"
#include "telemetry/web_log_transport.h"

CSingleUserLog& CSingleUserLog::GetInstance() {
  static CSingleUserLog instance(
      Collaborators{telemetry::WebLogTransport::Create(), telemetry::CurrentUserLogIdentity()});
  return instance;
}
