#pragma once
// The optional settings file "cv_downloader.cfg" beside the executable.
// It switches the stub into test modes; without it every switch is off.
// Nothing is cached: each query reads the file again, so editing it changes
// the next answer of a running process.

#include <string>

namespace FuntionImpl {

// Executable directory + "cv_downloader.cfg".
std::wstring SettingsFilePath();

// True when `file` exists and [Settings] `key` reads as the integer 1.
bool SettingsSwitchOn(const std::wstring& file, const std::wstring& key);

bool TestEnv();
bool AutoRun();
bool CrashTest();

}  // namespace FuntionImpl
