// The user's proxy settings, standing in for
// WinHttpGetIEProxyConfigForCurrentUser: three optional texts, each absent
// when not configured (never empty).
//
// Linux: GNOME's "org.gnome.system.proxy" when that schema is installed and
// its mode is not "none" ("auto": the automatic configuration URL; "manual":
// "http=host:port;https=host:port" of the hosts that are set); in both modes
// the bypass list is its ignore-hosts joined by ",". Otherwise the
// environment: the first of http_proxy, https_proxy, HTTP_PROXY, HTTPS_PROXY
// that is set is the proxy, no_proxy or NO_PROXY the bypass list; there is no
// automatic configuration URL. Reading never fails.
#pragma once

#include <optional>
#include <string>

namespace platform {

struct ProxySettings {
  std::optional<std::wstring> autoConfigUrl;
  std::optional<std::wstring> proxy;
  std::optional<std::wstring> bypass;
};

ProxySettings GetUserProxySettings();

}  // namespace platform
