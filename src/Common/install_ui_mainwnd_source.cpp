// Main window: the CDN failure counter, the proxy log and the stale package.
#include <easylogging++.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "Common/install_ui_mainwnd.h"
#include "platform/proxy_settings.h"
#include "platform/registry_store.h"
#include "platform/utf8.h"
#include "system/decimal.h"
#include "system/text_conversion.h"

namespace {

constexpr wchar_t kRequestTimesValue[] = L"RequestTooMuchTimes";
// CDN sources are skipped from this many failed rounds on.
constexpr long kForbidCdnAbove = 3;
// One character holds the count: '0' + count, and ':' (10) reads as 0.
constexpr long kCountWraps = 10;

// The counter's text read as a decimal number, like atoi: 0 without digits.
long CountOf(const std::wstring& text) { return AtoI(WideToAnsi(text)); }

}  // namespace

std::wstring InstallUIMainWnd::RequestTimesKey() {
  return L"SoftWare\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" +
         ConfigureText(&CConfigure::Software_name);
}

bool InstallUIMainWnd::ReadRequestTimes(std::wstring& out) {
  std::optional<std::wstring> text = platform::RegistryStore::ReadString(
      platform::RegistryHive::LocalMachine, RequestTimesKey(), kRequestTimesValue);
  if (!text) return false;
  out = std::move(*text);
  return true;
}

bool InstallUIMainWnd::WriteRequestTimes(const std::wstring& text) {
  return platform::RegistryStore::WriteString(platform::RegistryHive::LocalMachine,
                                              RequestTimesKey(), kRequestTimesValue, text);
}

bool InstallUIMainWnd::isForbidCDN() {
  std::wstring text;
  return ReadRequestTimes(text) && CountOf(text) > kForbidCdnAbove;
}

bool InstallUIMainWnd::addRequestTimes() {
  std::wstring text;
  long count = ReadRequestTimes(text) ? CountOf(text) : 0;
  // A hand-edited large number must not run past the character range; any
  // character from ':' on reads back as 0 alike.
  count = count < 1 ? 1 : std::min(count + 1, kCountWraps);
  return WriteRequestTimes(std::wstring(1, static_cast<wchar_t>(L'0' + count)));
}

int InstallUIMainWnd::GetIEProxyConfig() {
  const platform::ProxySettings settings = platform::GetUserProxySettings();
  // Reading the settings cannot fail here: result 1, error 0.
  LOG(INFO) << " Get proxy: 1, 0";
  int result = 0;
  const std::optional<std::wstring>* texts[] = {&settings.autoConfigUrl, &settings.proxy,
                                                &settings.bypass};
  for (int i = 0; i < 3; ++i) {
    if (!*texts[i]) continue;
    LOG(INFO) << " Proxy info" << i + 1 << ": " << WideToAnsi(**texts[i]);
    result = i + 1;
  }
  return result;
}

void InstallUIMainWnd::clearAppData() {
  std::wstring directory;
  if (!MakeWorkDirectory(directory)) return;
  const std::string package = platform::ToUtf8(directory + GetPackageFileName(true));
  std::error_code ignored;
  std::filesystem::remove(package, ignored);
  std::filesystem::remove(package + ".xml", ignored);
}
