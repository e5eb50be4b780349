#include "system/settings_file.h"

#include "platform/paths.h"
#include "platform/profile.h"

namespace FuntionImpl {

std::wstring SettingsFilePath() {
  return platform::GetExecutableDir() + L"cv_downloader.cfg";
}

bool SettingsSwitchOn(const std::wstring& file, const std::wstring& key) {
  if (!platform::PathExists(file)) return false;
  return platform::GetPrivateProfileInt(L"Settings", key, 0, file) == 1;
}

bool TestEnv() { return SettingsSwitchOn(SettingsFilePath(), L"TestEnv"); }
bool AutoRun() { return SettingsSwitchOn(SettingsFilePath(), L"AutoRun"); }
bool CrashTest() { return SettingsSwitchOn(SettingsFilePath(), L"CrashTest"); }

}  // namespace FuntionImpl
