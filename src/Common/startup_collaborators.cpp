#include "Common/startup_collaborators.h"

#include "system/text_conversion.h"
#include "telemetry/SingleUserLog.h"

void InstallCrashHandler() {}

void UploadDiagnosticPackage(const std::wstring&, const std::string&, const std::wstring&,
                             const std::wstring&, bool) {}

void SetUserLogInfo(const UserLogInfo& info) {
  CSingleUserLog::GetInstance().SetUserLogInfo(info.siteId, WideToUtf8(info.softwareName),
                                               WideToUtf8(info.downloadUrl), info.kitFlag,
                                               info.workDirectory, info.mainPid);
}

void SendStartupForbiddenEvent() {
  CSingleUserLog::GetInstance().AddUserLog("Other", "32bitStartupForbided", "", true);
}

void WaitUserLogThreadForExit() { CSingleUserLog::GetInstance().WaitThreadForExit(); }

void ShowNotSupportSystemBox(int) {}

