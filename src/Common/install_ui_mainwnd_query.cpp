// Main window: the background downloader information query.
#include <easylogging++.h>

#include "Common/install_ui_mainwnd.h"

int InstallUIMainWnd::AsyncGetCbsInfoThreadFunc() {
  {
    const std::lock_guard<std::mutex> guard(configureLock_);
    configure_->getDownloadInfoXml(false);
  }
  const std::lock_guard<std::mutex> guard(configureLock_);
  if (abandonQuery_) {
    LOG(INFO) << " GetDownloaderInfo(Async) abandon";
    return 0;
  }
  configure_->parseDownloadInfoXml();
  return 0;
}
