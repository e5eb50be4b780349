// Process entry of the installer stub.
#include <curl/curl.h>
#include <easylogging++.h>

#include <memory>

#include "Common/command_line.h"
#include "Common/install_ui_mainwnd.h"
#include "Common/single_instance.h"
#include "Common/startup_collaborators.h"
#include "Common/startup_entries.h"
#include "Common/termination_request.h"
#include "config/endpoints.h"
#include "system/firewall.h"
#include "platform/executable_resource.h"
#include "platform/paths.h"
#include "platform/system_facts.h"
#include "platform/window_activation.h"
#include "system/language_index.h"
#include "system/settings_file.h"
#include "system/url_rules.h"
#include "ui/message_loop.h"
#include "ui/messages.h"
#include "ui/package.h"
#include "ui/resources.h"

INITIALIZE_EASYLOGGINGPP

namespace {

// The skin package is the executable's resource "ZIPRES" 138.
std::shared_ptr<ui::Package> LoadSkinPackage() {
  std::optional<std::vector<unsigned char>> bytes = platform::LoadExecutableResource("ZIPRES", 138);
  if (!bytes || bytes->empty()) {
    LOG(INFO) << " The executable carries no skin package";
    return nullptr;
  }
  std::string error;
  std::shared_ptr<ui::Package> package = ui::Package::FromMemory(std::move(*bytes), &error);
  if (!package) {
    LOG(INFO) << " The skin package cannot be read: " << error;
    return nullptr;
  }
  ui::SetResourcePackage(package, "membuffer");
  return package;
}

// A skin may point the stub at other service hosts (the demo, the tests).
void LoadEndpoints(const ui::Package* package) {
  const std::optional<std::string> xml = package ? package->Read("configure/endpoints.xml") : std::nullopt;
  if (!xml) return;
  std::string error;
  if (!LoadEndpointsXml(*xml, &error)) LOG(INFO) << " configure/endpoints.xml ignored: " << error;
}

int RunDiagnosticPackage(const CommandLineForm& form, const StartupEntries& entries) {
  UploadDiagnosticPackage(form.logFileName, form.category, L"", entries.downloadUrl,
                          form.kind == CommandLineForm::Kind::kCrashPackage);
  curl_global_cleanup();
  return 0;
}

std::wstring WorkDirectory(const std::wstring& downloadUrl) {
  const std::wstring packageName = PackageNameOfUrl(downloadUrl);
  const std::wstring directory = platform::GetTempDir() + packageName;
  if (!packageName.empty()) platform::CreateDirectories(directory);
  return directory;
}

void Shutdown(InstallUIMainWnd* window) {
  ReleaseSingleInstanceMutex();
  LOG(INFO) << " Wait exit 1";
  if (window) window->WaitForAllThreadExit();
  LOG(INFO) << " Wait exit 2";
  WaitUserLogThreadForExit();
  LOG(INFO) << " Wait exit 3";
  curl_global_cleanup();
}

}  // namespace

int wWinMain(const std::wstring& commandLine, int* argc, char*** argv) {
  InstallCrashHandler();
  const CommandLineForm form = ParseCommandLine(commandLine);
  // "debug" asks for a console; on Linux standard output already goes to
  // the terminal that started the stub, so there is nothing to attach.

  const std::shared_ptr<ui::Package> package = LoadSkinPackage();
  const StartupEntries entries = ReadStartupEntries(package.get());
  LoadEndpoints(package.get());
  curl_global_init(CURL_GLOBAL_ALL);

  if (form.kind != CommandLineForm::Kind::kNormal) return RunDiagnosticPackage(form, entries);

  const bool autoRun = FuntionImpl::AutoRun();
  const std::wstring className =
      entries.downloaderIdText.empty() ? L"" : L"CV_UI_Frame_" + entries.downloaderIdText;
  if (!className.empty() && !autoRun && platform::ActivateWindowOfClass(className)) {
    curl_global_cleanup();
    return 0;
  }
  if (!AcquireSingleInstanceMutex(entries.downloaderId) && !autoRun) {
    curl_global_cleanup();
    return 0;
  }

  UserLogInfo logInfo;
  logInfo.siteId = entries.siteId;
  logInfo.softwareName = entries.softwareName;
  logInfo.downloadUrl = entries.downloadUrl;
  logInfo.kitFlag = entries.downloaderId == 277 || entries.downloaderId == 278;
  logInfo.workDirectory = WorkDirectory(entries.downloadUrl);
  logInfo.mainPid = entries.mainPid;
  SetUserLogInfo(logInfo);

  if (entries.support32System == L"0" && !platform::Facts().Is64BitOs()) {
    SendStartupForbiddenEvent();
    ShowNotSupportSystemBox(GetDefaultLanguageIndex());
    Shutdown(nullptr);
    return 0;
  }

  AuthorizeFirewallApplication(platform::GetExecutablePath());

  ui::InitializeUi(argc, argv);
  auto window = std::make_unique<InstallUIMainWnd>(className);
  // Installed before the window exists, so that a request arriving while it
  // initialises still closes it in order.
  const TerminationRequest termination([&window] { window->PostMessage(ui::WM_CLOSE); });
  if (!window->Create(nullptr, L"Brisko Setup", 0, 0, 600, 400)) {
    LOG(INFO) << " The main window cannot be created";
    Shutdown(window.get());
    return 0;
  }
  window->CenterWindow();
  window->ShowWindow(true, true);
  ui::RunMessageLoop();
  Shutdown(window.get());
  return 0;
}

int main(int argc, char** argv) {
  const std::wstring commandLine = JoinArguments(argc, argv);
  return wWinMain(commandLine, &argc, &argv);
}
