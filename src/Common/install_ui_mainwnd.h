#pragma once
// The installer's main window: settings page, progress page and finish page,
// built from "InstallMainWnd.xml" of the skin package. The object outlives
// its window: the query and install threads use it until start-up has
// waited for them.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <atomic>
#include <mutex>

#include "config/CConfigure.h"
#include "download/download_progress.h"
#include "platform/manual_reset_event.h"
#include "platform/thread.h"
#include "telemetry/user_log_window.h"
#include "ui/window_base.h"

namespace platform {
class WindowActivationListener;
}
namespace ui {
class Control;
class TabLayout;
class Combo;
class Option;
}  // namespace ui

class InstallUIMainWnd : public ui::WindowBase, public IUserLogWindow, public DownloadProgress {
 public:
  // Private message: a second start asked this window to come forward.
  static constexpr unsigned kMsgActivateInstance = 0x8000 + 1;
  // Private message: PostProgress's percentage (wparam) for SetProgress.
  static constexpr unsigned kMsgSetProgress = 0x8000 + 2;

  explicit InstallUIMainWnd(std::wstring className);
  ~InstallUIMainWnd() override;

  // Waits for each worker thread slot in turn, at most 10 minutes each.
  int WaitForAllThreadExit();

  void SelectInitialLanguage(int wanted);
  // The download directory: the temporary folder for an installer package,
  // else the desktop, plus the package name; created with its parents.
  int MakeDownloadDirectory(std::wstring& directory, std::wstring& softwareName);
  void SetWindowCollapsed(bool collapsed);
  // The temporary folder + package name + "/", created with its parents;
  // true when it is a directory afterwards.
  bool MakeWorkDirectory(std::wstring& directory);
  // The package's file name (see PackageFileNameOfUrl) tagged with the
  // configuration's version, or else with the start time stamp.
  // This, the counter and clearAppData read the configuration record under
  // configureLock_: never call them while holding it.
  std::wstring GetPackageFileName(bool withVersion);
  // The CDN failure counter of source selection, a one-character text kept
  // under the product's uninstall key.
  bool ReadRequestTimes(std::wstring& out);
  bool WriteRequestTimes(const std::wstring& text);
  // Whether the counter reads as a number above 3: CDN sources are skipped.
  bool isForbidCDN();
  // Raises the counter; after 9 comes ':', which reads as 0 again.
  bool addRequestTimes();
  // Logs the user's proxy settings (no transfer uses them); the number of
  // the last of the three texts present (1 automatic configuration URL,
  // 2 proxy, 3 bypass list), 0 when none is.
  int GetIEProxyConfig();
  // The package URL to use: mode 1 the first service source, 2 the first
  // CDN source, any other a four-second trial of each candidate, the one
  // that got most bytes winning. Empty when none qualifies. Flow thread.
  std::wstring checkRemotePath(std::vector<std::wstring> urls, int mode);
  // Deletes the package in the work directory and its task file; missing
  // files are no error.
  void clearAppData();
  // UI thread only. The bar never moves backwards.
  void SetProgress(int percent);
  // Any thread: SetProgress on the UI thread, in the order posted.
  void PostProgress(int percent);
  // From the downloading thread: the download band, 0..85 of the bar.
  void OnDownloadProgress(std::int64_t downloaded, std::int64_t total) override;

  int languageIndex() const { return languageIndex_; }
  const std::wstring& downloadDirectory() const { return downloadDirectory_; }
  const std::wstring& logPath() const { return logPath_; }
  CConfigure* configure() const { return configure_.get(); }

  // Background thread started at initialisation: asks the update server for
  // this stub's downloader information and merges it, unless the install
  // flow has started meanwhile.
  int AsyncGetCbsInfoThreadFunc();

  // What the event log puts into funnel bodies.
  std::wstring SoftwareVersion() const override;
  int LanguageIndex() const override { return languageIndex_; }

 protected:
  std::wstring GetWindowClassName() const override;
  std::wstring GetSkinFile() const override { return L"InstallMainWnd.xml"; }
  void InitWindow() override;
  void OnClick(ui::Notify& msg) override;
  std::intptr_t HandleMessage(unsigned msg, std::uintptr_t wparam, std::intptr_t lparam,
                              bool& handled) override;
  void OnFinalMessage() override;

 private:
  static constexpr std::size_t kThreadSlots = 5;

  void FindControls();
  void ReadConfigurationLabels();
  void PrepareDirectoriesAndLog();
  void SendStartupEvents();
  void JoinThreads();
  int LabelInt(const wchar_t* name);
  std::wstring LabelText(const wchar_t* name);
  std::wstring PackageName() const;
  std::wstring ConfigureText(std::wstring CConfigure::*field);
  std::wstring RequestTimesKey();
  // The install label's template formatted with `percent`.
  std::wstring InstallLabelText(double percent);

  const std::wstring className_;
  std::unique_ptr<platform::WindowActivationListener> activationListener_;

  ui::Control* closebtn_ = nullptr;
  ui::Control* minbtn_ = nullptr;
  ui::TabLayout* mainTabLayout_ = nullptr;
  ui::Control* installFilePathEdit_ = nullptr;
  ui::Control* installProgress_ = nullptr;
  ui::Control* installLabel_ = nullptr;
  ui::Control* spaceFree_ = nullptr;
  ui::Control* spaceNeed_ = nullptr;
  ui::Control* installSetting_ = nullptr;
  ui::Control* licenseLink_ = nullptr;
  ui::Control* licenseCheckbox_ = nullptr;
  ui::TabLayout* setLayout_ = nullptr;
  ui::TabLayout* pageLayout_ = nullptr;
  ui::Control* installBtn_ = nullptr;
  ui::Control* licenseText_ = nullptr;
  ui::Control* licenseTextLayout_ = nullptr;
  ui::Combo* languageCombox_ = nullptr;
  ui::Control* imagePlay_ = nullptr;
  ui::Control* backgroudLayout_ = nullptr;
  ui::Control* textFailRetry_ = nullptr;
  ui::Control* textFailAdvice_ = nullptr;
  ui::Control* imgWarning_ = nullptr;
  ui::Control* startApp_ = nullptr;
  ui::Control* textStartShortcut_ = nullptr;
  std::vector<ui::Option*> optionDots_;

  std::atomic<int> languageIndex_ = 0;
  int slidePeriodMs_ = 7000;
  int downloaderId_ = 0;
  int siteId_ = 0;
  int languageId_ = 0;
  int gifDuration_ = 0;
  int startFlag_ = 0;
  int licenseChoice_ = 0;
  int adminFlag_ = 0;
  std::unique_ptr<CConfigure> configure_;
  std::wstring startTimeStamp_;
  std::wstring defaultInstallPath_;
  std::wstring softwareName_;
  std::wstring extraDownloadUrl_;
  std::wstring downloadDirectory_;
  std::wstring logPath_;
  // The language's install label text; until a language sets it, the
  // layout's own text.
  std::wstring installLabelTemplate_;
  // The package length the first progress report gave; 0 before it.
  std::atomic<std::int64_t> reportedPackageLength_ = 0;
  std::wstring adviceUrl_;
  int closeMessageType_ = 2;  // MsgCancel until the flow has ended
  bool retry_ = false;
  bool clickId_ = false;
  std::atomic<bool> abandonQuery_ = false;
  // Keeps the background query and the install flow's own query from
  // writing the configuration record at the same time.
  std::mutex configureLock_;
  std::uint64_t initTick_ = 0;
  std::shared_ptr<platform::ManualResetEvent> progressFinish100_;
  std::array<platform::Thread, kThreadSlots> threads_;
};
