// The sending operations of CSingleUserLog.
#include <easylogging++.h>

#include "system/language_index.h"
#include "system/text_conversion.h"
#include "telemetry/SingleUserLog.h"
#include "telemetry/day_marker.h"

using telemetry::UserLogEvent;
using telemetry::UserLogTransport;

namespace {

constexpr int kImmediateAttempts = 3;

// Up to kImmediateAttempts calls of `send`, stopping at the first success;
// the last result.
template <typename Send>
int SendWithRetries(Send send) {
  int result = 0;
  for (int attempt = 0; attempt < kImmediateAttempts; ++attempt) {
    result = send();
    if (result == 0) break;
  }
  return result;
}

// Queues `event`, or with bWait sends it at once through `send`.
template <typename Send>
int Deliver(telemetry::UserLogQueue& queue, UserLogTransport* webLog, const UserLogEvent& event,
            bool bWait, const char* failureLine, const std::string& category,
            const std::string& action, Send send) {
  if (!bWait) {
    // A lock not taken in time drops the event; the caller still sees 0.
    queue.PushBack(event, telemetry::kQueueLockWaitMs);
    return 0;
  }
  if (!webLog) return CSingleUserLog::kNoWebLog;
  const int result = SendWithRetries([&] { return send(*webLog); });
  if (result != 0) LOG(INFO) << failureLine << result << ", " << category << "###" << action;
  return result;
}

std::string TextOf(const char* text) { return text ? text : ""; }

}  // namespace

int CSingleUserLog::AddUserLog(const char* category, const char* action, const char* label,
                               bool bWait) {
  if (autoRun_()) return kTelemetryOff;
  UserLogEvent event;
  event.category = TextOf(category);
  event.action = TextOf(action);
  event.label = TextOf(label);
  if (event.category == "Other" && event.action == "FlowError") {
    AddUserLog_funnelEx("ErrorReporting", "Error", "MainErrorType", event.label, bWait, false);
  }
  if (event.action == "FlowErrorIsChToolKitErrorCode") {
    toolKitErrorPhase_.Report(*this, event.label);
  } else if (event.action == "FlowError") {
    flowErrorPhase_.Report(*this, event.label);
  } else if (event.category == "CrashRate" && event.action == "Close") {
    flowErrorPhase_.Close(*this);
    toolKitErrorPhase_.Close(*this);
  }
  return SendGa4(event, bWait);
}

int CSingleUserLog::AddUserLog_funnel(const std::string& eventType, const std::string& coreFuncName,
                                      int funcStep, const std::string& category,
                                      const std::string& action, const std::string& label,
                                      bool bWait, bool bKit) {
  if (autoRun_()) return kTelemetryOff;
  return SendFunnel(
      telemetry::FunnelStepActions(eventType, coreFuncName, funcStep, category, action, label),
      category, action, bWait, bKit);
}

int CSingleUserLog::AddUserLog_funnelEx(const std::string& category, const std::string& action,
                                        const std::map<std::string, std::string>& labels,
                                        bool bWait, bool bKit) {
  if (autoRun_()) return kTelemetryOff;
  return SendFunnel(telemetry::FunnelFreeActions(category, action, labels), category, action, bWait,
                    bKit);
}

int CSingleUserLog::AddUserLog_funnelEx(const std::string& category, const std::string& action,
                                        const std::string& key, const std::string& value,
                                        bool bWait, bool bKit) {
  return AddUserLog_funnelEx(category, action, std::map<std::string, std::string>{{key, value}},
                             bWait, bKit);
}

int CSingleUserLog::SendGa4(const UserLogEvent& event, bool bWait) {
  return Deliver(state_->ga4Queue(), state_->transport(), event, bWait,
                 "send ga4 fail, bWait = true, retry is max, retcode = ", event.category,
                 event.action, [this, &event](UserLogTransport& webLog) {
                   return webLog.SendGA4Event(state_->Ga4QueryOf(event));
                 });
}

int CSingleUserLog::SendFunnel(const Json::Value& actions, const std::string& category,
                               const std::string& action, bool bWait, bool bKit) {
  const telemetry::UserLogProfile run = state_->profile();
  UserLogEvent event;
  event.body = telemetry::BuildFunnelBody(FunnelFieldsOf(run, bKit), actions);
  if (versionPending_.exchange(false)) {
    telemetry::MarkToolsVersion(telemetry::DayMarkerPath(run.workDirectory),
                                state_->identity().toolsVersion);
  }
  return Deliver(state_->funnelQueue(), state_->transport(), event, bWait,
                 "send funnel fail, bWait = true, retry is max, retcode = ", category, action,
                 [&event](UserLogTransport& webLog) { return webLog.SoftDataReport(event.body); });
}

telemetry::FunnelFields CSingleUserLog::FunnelFieldsOf(const telemetry::UserLogProfile& run,
                                                       bool bKit) const {
  telemetry::FunnelFields fields;
  fields.isNew = run.isNew;
  fields.productName = run.productName;
  fields.clickId = state_->identity().clickId;
  fields.toolsVersion = state_->identity().toolsVersion;
  fields.kitType = bKit ? 2 : (run.kitFlag ? 1 : 0);
  fields.mainProductId = run.mainProductId;
  if (const IUserLogWindow* window = mainWindow_.load()) {
    fields.productVersion = WideToAnsi(window->SoftwareVersion());
    fields.toolsLanguage = GetLanguageCode(window->LanguageIndex());
  }
  return fields;
}
