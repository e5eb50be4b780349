// Main window: construction, initialisation, layout and language.
#include "Common/install_ui_mainwnd.h"

#include <easylogging++.h>

#include "Common/log_setup.h"
#include "config/configuration_labels.h"
#include "platform/paths.h"
#include "platform/process_id.h"
#include "platform/system_facts.h"
#include "platform/window_activation.h"
#include "system/file_version.h"
#include "system/language_index.h"
#include "system/locale_names.h"
#include "system/os_info.h"
#include "system/registry_strings.h"
#include "system/screen.h"
#include "system/settings_file.h"
#include "system/text_conversion.h"
#include "system/time_stamp.h"
#include "system/url_rules.h"
#include "telemetry/SingleUserLog.h"
#include "ui/check_box.h"
#include "ui/combo.h"
#include "ui/message_loop.h"
#include "ui/messages.h"
#include "ui/option.h"
#include "ui/paint_manager.h"
#include "ui/tab_layout.h"

namespace {

constexpr int kWindowWidth = 650;
constexpr int kCollapsedHeight = 360;
constexpr int kExpandedHeight = 560;
constexpr std::uint32_t kThreadWaitMs = 600000;

}  // namespace

InstallUIMainWnd::InstallUIMainWnd(std::wstring className) : className_(std::move(className)) {}

// Start-up waits for the threads before this; a window destroyed without
// that (a test) still must not leave a thread using it.
InstallUIMainWnd::~InstallUIMainWnd() {
  JoinThreads();
  CSingleUserLog::GetInstance().SetMainWindow(nullptr);
}

std::wstring InstallUIMainWnd::GetWindowClassName() const {
  return className_.empty() ? L"CV_UI_Frame" : className_;
}

void InstallUIMainWnd::InitWindow() {
  CSingleUserLog::GetInstance().SetMainWindow(this);
  initTick_ = platform::Facts().TickCount();
  abandonQuery_ = false;
  retry_ = false;
  clickId_ = true;

  FindControls();
  for (ui::Control* hidden : {textFailRetry_, textFailAdvice_, imgWarning_}) {
    if (hidden) hidden->SetVisible(false);
  }
  adviceUrl_.clear();

  ReadConfigurationLabels();
  if (auto* checkbox = ui::As<ui::CheckBox>(licenseCheckbox_)) {
    checkbox->SetCheck(FuntionImpl::AutoRun() || licenseChoice_ == 1, false);
  }

  configure_ = std::make_unique<CConfigure>(downloaderId_, languageId_, siteId_);
  configure_->loadFromLayout(GetPaintManager(), false);

  PrepareDirectoriesAndLog();

  threads_[0].Start([this] { AsyncGetCbsInfoThreadFunc(); });
  progressFinish100_ = platform::ManualResetEvent::Open(L"ProgressFinish100", false);
  slidePeriodMs_ = 7000;

  SendStartupEvents();

  SelectInitialLanguage(GetDefaultLanguageIndex());
  SetWindowCollapsed(true);
  CSingleUserLog::GetInstance().AddUserLog(
      "Other", "ClickToShowTime",
      std::to_string(static_cast<int>(platform::Facts().TickCount() - initTick_)).c_str());

  // A second start of the same stub asks this window to come forward.
  activationListener_ = platform::WindowActivationListener::Listen(
      GetWindowClassName(), [this] { PostMessage(kMsgActivateInstance); });
}

void InstallUIMainWnd::FindControls() {
  ui::PaintManager& pm = GetPaintManager();
  closebtn_ = pm.FindControl(L"closebtn");
  minbtn_ = pm.FindControl(L"minbtn");
  mainTabLayout_ = ui::As<ui::TabLayout>(pm.FindControl(L"main_tablayout"));
  installFilePathEdit_ = pm.FindControl(L"install_file_path_edit");
  installProgress_ = pm.FindControl(L"install_progress");
  installLabel_ = pm.FindControl(L"install_label");
  spaceFree_ = pm.FindControl(L"space_free");
  spaceNeed_ = pm.FindControl(L"space_need");
  installSetting_ = pm.FindControl(L"install_setting");
  licenseLink_ = pm.FindControl(L"license_link");
  licenseCheckbox_ = pm.FindControl(L"license_checkbox");
  setLayout_ = ui::As<ui::TabLayout>(pm.FindControl(L"set_layout"));
  pageLayout_ = ui::As<ui::TabLayout>(pm.FindControl(L"page_layout"));
  installBtn_ = pm.FindControl(L"install_btn");
  licenseText_ = pm.FindControl(L"license_text");
  licenseTextLayout_ = pm.FindControl(L"license_text_layout");
  languageCombox_ = ui::As<ui::Combo>(pm.FindControl(L"language_combox"));
  imagePlay_ = pm.FindControl(L"image_play");
  backgroudLayout_ = pm.FindControl(L"backgroudlayout");
  textFailRetry_ = pm.FindControl(L"text_fail_retry");
  textFailAdvice_ = pm.FindControl(L"text_fail_advice");
  imgWarning_ = pm.FindControl(L"img_warning");
  startApp_ = pm.FindControl(L"start_app");
  textStartShortcut_ = pm.FindControl(L"text_startshortcut");

  optionDots_.clear();
  for (int i = 1;; ++i) {
    auto* dot = ui::As<ui::Option>(pm.FindControl(L"image_play_option" + std::to_wstring(i)));
    if (!dot) break;
    optionDots_.push_back(dot);
  }
}

std::wstring InstallUIMainWnd::LabelText(const wchar_t* name) {
  return ConfigurationLabelText(GetPaintManager(), name);
}

int InstallUIMainWnd::LabelInt(const wchar_t* name) {
  return ConfigurationLabelInt(GetPaintManager(), name);
}

void InstallUIMainWnd::ReadConfigurationLabels() {
  downloaderId_ = LabelInt(L"Downloader_id");
  siteId_ = LabelInt(L"Site_id");
  languageId_ = LabelInt(L"Language_id");
  gifDuration_ = LabelInt(L"Gif_duration");
  startFlag_ = LabelInt(L"NeedStart_flag");
  licenseChoice_ = LabelInt(L"ChooseLicense");
  adminFlag_ = LabelInt(L"admin_flag");
  softwareName_ = LabelText(L"Software_name");
  extraDownloadUrl_ = LabelText(L"Extra_download_url");
}

void InstallUIMainWnd::PrepareDirectoriesAndLog() {
  startTimeStamp_ = LocalTimeStamp();
  defaultInstallPath_ = platform::GetProgramFilesDir() + L"/" + L"Brisko";
  if (installFilePathEdit_) installFilePathEdit_->SetText(defaultInstallPath_);
  MakeDownloadDirectory(downloadDirectory_, softwareName_);
  logPath_ = downloadDirectory_ + L"/" + PackageStemOfUrl(extraDownloadUrl_) + L"_" +
             startTimeStamp_ + L".log";
  ConfigureLogFile(logPath_);
  CSingleUserLog::GetInstance().setInstallLogPath(logPath_);
}

void InstallUIMainWnd::SendStartupEvents() {
  const FileVersionStrings version = GetFileVersionStrings(platform::GetExecutablePath());
  LOG(INFO) << " Downloader info: " << WideToAnsi(version.productVersion) << "("
            << WideToAnsi(version.productName) << "), 64Bit: " << (IsWow64() ? "True" : "False")
            << ", proc_id=" << platform::GetCurrentProcessId();
  std::int32_t width = 0;
  std::int32_t height = 0;
  const double scale = GetScreenResolution(width, height);
  LOG(INFO) << " Screen: " << width << "*" << height << ", " << scale;
  LOG(INFO) << " Request For Product Config -- [Downloader Id]: " << downloaderId_
            << " [Site Id]: " << siteId_ << " [Language Id]: " << languageId_;

  CSingleUserLog& userLog = CSingleUserLog::GetInstance();
  userLog.AddUserLog("CrashRate", "Start", "");
  userLog.AddUserLog_funnel("Keypoint", "null", 0, "CorePublicModule", "Start", "null");

  // The machine's first run sends its system facts once.
  constexpr wchar_t kStubKey[] = L"SOFTWARE\\Corvane\\Downloader2.5.0";
  if (ReadRegistryString(kStubKey, L"GA_PC").empty()) {
    float osVersion = 0;
    const std::string os = GetOsName(osVersion) + (IsWow64() ? " 64bit" : " 32bit");
    userLog.AddUserLog("PC", "SysOS", os.c_str());
    userLog.AddUserLog("PC", "SysLanguage", GetLanguageCountryName().c_str());
    const std::string resolution = std::to_string(width) + "*" + std::to_string(height);
    userLog.AddUserLog("PC", "SysScreenResolution", resolution.c_str());
    WriteRegistryString(kStubKey, L"GA_PC", L"1");
  }

  userLog.AddUserLog("Download", "1.Launch", "");
  userLog.AddUserLog_funnel("CoreFuncEvent", "BeforeDownload", 0, "Download", "CoreFuncStart", "null");
  userLog.AddUserLog_funnel("CoreFuncEvent", "BeforeDownload", 1, "Download", "Launch", "null");
  userLog.AddUserLog_funnel("CoreFuncEvent", "BeforeDownload", 0, "Download", "CoreFuncEnd", "null");
}

std::wstring InstallUIMainWnd::SoftwareVersion() const {
  return configure_ ? configure_->Software_version : std::wstring();
}

void InstallUIMainWnd::SelectInitialLanguage(int wanted) {
  int chosen = 0;
  if (languageCombox_) {
    auto visible = [this](int i) {
      ui::Control* item = languageCombox_->GetItemAt(i);
      return item && item->IsVisible();
    };
    const int count = languageCombox_->GetCount();
    if (wanted >= 0 && wanted < count && visible(wanted)) {
      chosen = wanted;
    } else if (!visible(0)) {
      for (int i = 1; i < count; ++i) {
        if (visible(i)) {
          chosen = i;
          break;
        }
      }
    }
    languageCombox_->SelectItem(chosen, false);
  }
  languageIndex_ = chosen;
}

void InstallUIMainWnd::SetWindowCollapsed(bool collapsed) {
  const ui::Rect rect = GetWindowRect();
  MoveWindow(rect.left, rect.top, kWindowWidth, collapsed ? kCollapsedHeight : kExpandedHeight);
}

// Until the install flow exists, closing has nothing to cancel.
void InstallUIMainWnd::OnClick(ui::Notify& msg) {
  if (!msg.sender) return;
  if (msg.sender == closebtn_) {
    Close();
  } else if (msg.sender == minbtn_) {
    Minimize();
  }
}

std::intptr_t InstallUIMainWnd::HandleMessage(unsigned msg, std::uintptr_t wparam,
                                              std::intptr_t lparam, bool& handled) {
  if (msg == kMsgActivateInstance) {
    LOG(INFO) << " Brought to the front by a second start";
    BringToFront();
    handled = true;
    return 0;
  }
  if (msg == kMsgSetProgress) {
    SetProgress(static_cast<int>(wparam));
    handled = true;
    return 0;
  }
  return ui::WindowBase::HandleMessage(msg, wparam, lparam, handled);
}

void InstallUIMainWnd::OnFinalMessage() {
  activationListener_.reset();
  ui::PostQuitMessage(0);
}

int InstallUIMainWnd::WaitForAllThreadExit() {
  LOG(INFO) << "InstallUIMainWnd WaitForAllThreadExit";
  JoinThreads();
  return 0;
}

void InstallUIMainWnd::JoinThreads() {
  for (platform::Thread& thread : threads_) {
    if (thread.IsStarted()) thread.Join(kThreadWaitMs);
  }
}
