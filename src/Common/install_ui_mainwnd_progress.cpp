// Main window: the progress bar and the download's share of it.
#include <algorithm>
#include <cstdio>

#include "Common/install_ui_mainwnd.h"
#include "Common/number_template.h"
#include "telemetry/SingleUserLog.h"
#include "ui/progress.h"

namespace {

// The download fills the bar up to here; verifying and installing the rest.
constexpr int kDownloadBandTop = 85;

int DownloadBand(std::int64_t downloaded, std::int64_t total) {
  if (total <= 0 || downloaded <= 0) return 0;
  const double share = static_cast<double>(downloaded) / static_cast<double>(total);
  return std::min(static_cast<int>(share * kDownloadBandTop), kDownloadBandTop);
}

}  // namespace

std::wstring InstallUIMainWnd::InstallLabelText(double percent) {
  if (installLabelTemplate_.empty() && installLabel_) installLabelTemplate_ = installLabel_->GetText();
  return FormatNumberTemplate(installLabelTemplate_, percent);
}

void InstallUIMainWnd::SetProgress(int percent) {
  auto* bar = ui::As<ui::Progress>(installProgress_);
  if (!installLabel_ || !bar || bar->GetValue() >= percent) return;
  installLabel_->SetText(InstallLabelText(percent));
  bar->SetValue(percent);
  // The taskbar shows no progress on Linux yet.
}

void InstallUIMainWnd::PostProgress(int percent) {
  PostMessage(kMsgSetProgress, static_cast<std::uintptr_t>(percent));
}

// Only the figures are worked out here; the controls belong to the UI thread.
void InstallUIMainWnd::OnDownloadProgress(std::int64_t downloaded, std::int64_t total) {
  std::int64_t unreported = 0;
  if (total > 0 && reportedPackageLength_.compare_exchange_strong(unreported, total)) {
    char size[32];
    std::snprintf(size, sizeof size, "%.2fMB", static_cast<double>(total) / 1048576);
    CSingleUserLog::GetInstance().AddUserLog("Other", "PackageSize", size);
  }
  PostProgress(DownloadBand(downloaded, total));
}
