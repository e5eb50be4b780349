#include "telemetry/SingleUserLog.h"

#include <easylogging++.h>

#include "telemetry/day_marker.h"
#include "telemetry/user_log_manager_thread.h"

using telemetry::UserLogState;

CSingleUserLog::CSingleUserLog(Collaborators collaborators)
    : state_(std::make_shared<UserLogState>(std::move(collaborators.webLog),
                                            std::move(collaborators.identity))),
      autoRun_(std::move(collaborators.autoRun)),
      exitWaitMs_(collaborators.exitWaitMs) {
  if (autoRun_()) return;
  sender_.Start([state = state_] { telemetry::UserLogManagerThread(*state); });
}

CSingleUserLog::~CSingleUserLog() { state_->RequestStop(); }

void CSingleUserLog::SetUserLogInfo(int siteId, const std::string& productName,
                                    const std::string& downloadUrl, bool kitFlag,
                                    const std::wstring& workDirectory, int mainProductId) {
  telemetry::UserLogProfile run;
  run.siteId = siteId;
  run.productName = productName;
  run.downloadUrl = downloadUrl;
  run.kitFlag = kitFlag;
  run.workDirectory = workDirectory;
  run.mainProductId = mainProductId;
  run.isNew =
      telemetry::MarkRunDay(telemetry::DayMarkerPath(workDirectory), telemetry::TodayLocalDate());
  state_->SetProfile(std::move(run));
}

bool CSingleUserLog::WaitThreadForExit() {
  LOG(INFO) << "CSingleUserLog WaitThreadForExit";
  state_->RequestStop();
  if (sender_.IsStarted()) sender_.Join(exitWaitMs_);
  return true;
}

void CSingleUserLog::SetUrlContentLength(const std::string& url, std::int64_t length) {
  if (url.empty() || length == 0) return;
  std::lock_guard lock(sharedMutex_);
  contentLengths_[url] = length;
}

std::int64_t CSingleUserLog::GetUrlContentLength(const std::string& url) const {
  std::lock_guard lock(sharedMutex_);
  const auto found = contentLengths_.find(url);
  return found == contentLengths_.end() ? 0 : found->second;
}

std::wstring CSingleUserLog::installLogPath() const {
  std::lock_guard lock(sharedMutex_);
  return installLogPath_;
}

void CSingleUserLog::setInstallLogPath(const std::wstring& path) {
  std::lock_guard lock(sharedMutex_);
  installLogPath_ = path;
}
