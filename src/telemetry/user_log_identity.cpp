#include "telemetry/user_log_identity.h"

#include <tuple>

#include "platform/paths.h"
#include "system/file_version.h"
#include "system/locale_names.h"
#include "system/os_info.h"
#include "system/text_conversion.h"

namespace telemetry {

UserLogIdentity CurrentUserLogIdentity() {
  const std::wstring executable = platform::GetExecutablePath();
  UserLogIdentity identity;
  identity.toolsVersion = GetFileVersionText(executable);
  identity.clickId = ClickIdOfExecutable(executable);
  float version = 0;
  identity.osDescription = GetOsName(version) + (IsWow64() ? " 64bit" : " 32bit");
  std::tie(identity.systemLanguage, identity.systemCountry) =
      SplitLanguageCountry(GetLanguageCountryName());
  return identity;
}

std::string ClickIdOfExecutable(const std::wstring& executablePath) {
  const std::size_t slash = executablePath.rfind(L'/');
  const std::wstring name =
      slash == std::wstring::npos ? executablePath : executablePath.substr(slash + 1);
  const std::size_t underscore = name.rfind(L'_');
  const std::size_t dot = name.rfind(L'.');
  if (underscore == std::wstring::npos || dot == std::wstring::npos || dot < underscore) {
    return "";
  }
  return WideToUtf8(name.substr(underscore + 1, dot - underscore - 1));
}

std::pair<std::string, std::string> SplitLanguageCountry(const std::string& name) {
  const std::size_t underscore = name.find('_');
  if (underscore == std::string::npos) return {"Unknown", "Unknown"};
  return {name.substr(0, underscore), name.substr(underscore + 1)};
}

}  // namespace telemetry
