// Main window: the path rules the flow relies on.
#include "Common/install_ui_mainwnd.h"

#include "platform/paths.h"
#include "system/url_rules.h"

int InstallUIMainWnd::MakeDownloadDirectory(std::wstring& directory, std::wstring& softwareName) {
  const std::wstring base = IsExeName(extraDownloadUrl_) ? platform::GetTempDir()
                                                              : platform::GetDesktopDir() + L"/";
  directory = base + PackageNameOfUrl(extraDownloadUrl_);
  platform::CreateDirectories(directory);
  softwareName = LabelText(L"Software_name");
  return 1;
}
