// Main window: the work directory and the package's file name.
#include "Common/install_ui_mainwnd.h"

#include "Common/package_file_name.h"
#include "platform/paths.h"
#include "system/url_rules.h"

std::wstring InstallUIMainWnd::PackageName() const {
  std::wstring name = PackageNameOfUrl(extraDownloadUrl_);
  return name.empty() ? softwareName_ : name;
}

// The background query may be merging into the record at the same time.
std::wstring InstallUIMainWnd::ConfigureText(std::wstring CConfigure::*field) {
  const std::lock_guard<std::mutex> guard(configureLock_);
  return configure_ ? (*configure_).*field : std::wstring();
}

bool InstallUIMainWnd::MakeWorkDirectory(std::wstring& directory) {
  directory = platform::GetTempDir() + PackageName() + L"/";
  return platform::CreateDirectories(directory);
}

std::wstring InstallUIMainWnd::GetPackageFileName(bool withVersion) {
  return PackageFileNameOfUrl(extraDownloadUrl_, withVersion
                                                     ? ConfigureText(&CConfigure::Software_version)
                                                     : startTimeStamp_);
}
