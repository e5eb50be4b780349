#include "system/prerequisites.h"

#include <easylogging++.h>

#include <fstream>

#include "platform/registry_store.h"
#include "platform/utf8.h"
#include "system/decimal.h"
#include "system/text_conversion.h"

namespace {

constexpr std::size_t kMaxLine = 1023;        // characters read of one line
constexpr std::size_t kMaxRegistryText = 260;  // a longer value does not fit

std::wstring RegistryText(const std::wstring& subKey, const std::wstring& value) {
  const std::optional<std::wstring> text =
      platform::RegistryStore::ReadString(platform::RegistryHive::LocalMachine, subKey, value);
  return text && text->size() <= kMaxRegistryText ? *text : std::wstring();
}

// A file that is not UTF-8 cannot be read as text: it names no version.
bool IsValidUtf8(const std::string& bytes) {
  return platform::ToUtf8(platform::FromUtf8(bytes)) == bytes;
}

std::string NeededVersionIn(std::istream& in) {
  bool inSettings = false;
  for (std::string line; std::getline(in, line);) {
    if (!IsValidUtf8(line)) return {};
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::wstring text = platform::FromUtf8(line).substr(0, kMaxLine);
    if (text.size() < 3) continue;
    if (text.find(L"[Settings]") != std::wstring::npos) {
      inSettings = true;
      continue;
    }
    if (text.find(L"[Text]") != std::wstring::npos) return {};
    if (!inSettings) continue;
    const std::size_t eq = text.find(L'=');
    if (eq == std::wstring::npos || eq == 0) continue;
    if (text.substr(0, eq) == L"NetFrameworkVersion") return platform::ToUtf8(text.substr(eq + 1));
  }
  return {};
}

}  // namespace

Version ParseVersion(const std::string& text) {
  Version version{};
  std::size_t start = 0;
  for (int& part : version) {
    if (start > text.size()) break;
    const std::size_t dot = text.find('.', start);
    part = AtoI(std::string_view(text).substr(start, dot == std::string::npos ? std::string::npos : dot - start));
    start = dot == std::string::npos ? text.size() + 1 : dot + 1;
  }
  return version;
}

std::string GetNeedNetFrameVersion(const std::wstring& directory) {
  std::wstring path = directory;
  if (!path.empty() && path.back() != L'/') path += L'/';
  std::ifstream in(platform::ToUtf8(path + L"NetFrameCheck.db"), std::ios::binary);
  if (!in) return {};
  return NeededVersionIn(in);
}

std::string GetLocalNetFrameVersion() {
  return WideToAnsi(RegistryText(L"SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v4\\Client", L"Version"));
}

bool IsWindows11() {
  for (const wchar_t* key : {L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows NT\\CurrentVersion",
                             L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"}) {
    for (const wchar_t* value : {L"CurrentBuild", L"CurrentBuildNumber"}) {
      const std::wstring build = RegistryText(key, value);
      if (!build.empty()) return AtoI(build) > 21999;
    }
  }
  return false;
}

namespace FuntionImpl {

bool WillShowNetFrameCheck(std::wstring directory) {
  const std::string needed = GetNeedNetFrameVersion(directory);
  if (needed.empty()) return false;
  const std::string installed = GetLocalNetFrameVersion();
  LOG(INFO) << " LocalNetFrame: " << installed << ", NeedNetFrame: " << needed;
  return ParseVersion(installed) < ParseVersion(needed);
}

}  // namespace FuntionImpl
