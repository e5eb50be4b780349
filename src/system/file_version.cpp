#include "system/file_version.h"

#include <filesystem>

#include "platform/paths.h"
#include "platform/utf8.h"

namespace {

constexpr const char* kVersion = STUB_FILE_VERSION;  // four parts, from the build

// The same file, whatever the spelling of its path (links, "..").
bool IsOwnExecutable(const std::wstring& file) {
  if (file.empty()) return false;
  std::error_code error;
  return std::filesystem::equivalent(platform::ToUtf8(file),
                                     platform::ToUtf8(platform::GetExecutablePath()), error);
}

}  // namespace

std::string GetFileVersionText(const std::wstring& file) {
  return IsOwnExecutable(file) ? kVersion : "";
}

std::wstring GetFileVersionTextW(const std::wstring& file) {
  return platform::FromUtf8(GetFileVersionText(file));
}

FileVersionStrings GetFileVersionStrings(const std::wstring& file) {
  if (!IsOwnExecutable(file)) return {};
  return {L"Brisko Setup", platform::FromUtf8(kVersion),
          L"Copyright (C) Brisko Software. All rights reserved.",
          L"Brisko online installer"};
}
