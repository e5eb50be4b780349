#pragma once
// The places where start-up hands over to subsystems that are not part of
// this build yet: crash handling and diagnostic packages, the user event log
// and the 32-bit refusal's message box. Each does nothing until its
// subsystem plugs in here; none reports anything it did not do.

#include <string>

struct UserLogInfo {
  int siteId = 0;
  std::wstring softwareName;
  std::wstring downloadUrl;
  bool kitFlag = false;  // downloader ids 277 and 278
  std::wstring workDirectory;
  int mainPid = 0;
};

// First statement of the process.
void InstallCrashHandler();

// "-dmp " and "-close" runs: package the log (and dumps) and upload them.
void UploadDiagnosticPackage(const std::wstring& logFileName, const std::string& category,
                             const std::wstring& extraFile, const std::wstring& downloadUrl,
                             bool crashFlag);

void SetUserLogInfo(const UserLogInfo& info);
void SendStartupForbiddenEvent();
void WaitUserLogThreadForExit();

void ShowNotSupportSystemBox(int languageIndex);
