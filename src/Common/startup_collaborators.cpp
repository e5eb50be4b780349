#include "Common/startup_collaborators.h"

void InstallCrashHandler() {}

void UploadDiagnosticPackage(const std::wstring&, const std::string&, const std::wstring&,
                             const std::wstring&, bool) {}

void SetUserLogInfo(const UserLogInfo&) {}

void SendStartupForbiddenEvent() {}

void WaitUserLogThreadForExit() {}

void ShowNotSupportSystemBox(int) {}

