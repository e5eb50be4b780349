// The user's proxy settings, from the environment and from GNOME's settings.
#include "platform/proxy_settings.h"

#include <gio/gio.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Common/install_ui_mainwnd.h"
#include "fixtures/log_capture.h"
#include "fixtures/scoped_env.h"
#include "platform/utf8.h"

namespace {

// GSettings picks its backend once per process: keep this program away from
// the developer's own settings before anything reads them.
const bool kMemorySettings = ::setenv("GSETTINGS_BACKEND", "memory", 1) == 0;

constexpr const char* kProxyVariables[] = {"http_proxy", "https_proxy", "HTTP_PROXY",
                                           "HTTPS_PROXY", "no_proxy",   "NO_PROXY"};

// The proxy variables as a case sets them; all others unset.
class ProxyEnvironment {
 public:
  explicit ProxyEnvironment(const std::vector<std::pair<const char*, std::string>>& set) {
    for (const char* name : kProxyVariables) {
      std::optional<std::string> value;
      for (const auto& [setName, setValue] : set) {
        if (std::string(setName) == name) value = setValue;
      }
      vars_.push_back(std::make_unique<test::ScopedEnv>(name, value));
    }
  }

 private:
  std::vector<std::unique_ptr<test::ScopedEnv>> vars_;
};

bool HasGnomeProxySchema() {
  GSettingsSchemaSource* source = g_settings_schema_source_get_default();
  GSettingsSchema* schema =
      source ? g_settings_schema_source_lookup(source, "org.gnome.system.proxy", TRUE) : nullptr;
  if (schema) g_settings_schema_unref(schema);
  return schema != nullptr;
}

// GNOME's proxy settings in the memory backend, back to their defaults
// afterwards.
class GnomeProxy {
 public:
  GnomeProxy() : proxy_(g_settings_new("org.gnome.system.proxy")) {}
  ~GnomeProxy() {
    for (GSettings* child : children_) {
      g_settings_reset(child, "host");
      g_settings_reset(child, "port");
      g_object_unref(child);
    }
    for (const char* key : {"mode", "autoconfig-url", "ignore-hosts"}) g_settings_reset(proxy_, key);
    g_object_unref(proxy_);
  }
  void Set(const char* key, const char* value) { g_settings_set_string(proxy_, key, value); }
  void Server(const char* scheme, const char* host, int port) {
    GSettings* child = g_settings_get_child(proxy_, scheme);
    g_settings_set_string(child, "host", host);
    g_settings_set_int(child, "port", port);
    children_.push_back(child);
  }
  void IgnoreHosts(std::vector<const char*> hosts) {
    hosts.push_back(nullptr);
    g_settings_set_strv(proxy_, "ignore-hosts", hosts.data());
  }

 private:
  GSettings* proxy_;
  std::vector<GSettings*> children_;
};

std::string Show(const std::optional<std::wstring>& text) {
  return text ? platform::ToUtf8(*text) : std::string("(absent)");
}

TEST(ProxySettings, EnvironmentGivesProxyAndBypassButNoAutomaticUrl) {
  ASSERT_TRUE(kMemorySettings);
  struct Case {
    std::vector<std::pair<const char*, std::string>> env;
    std::optional<std::wstring> proxy;
    std::optional<std::wstring> bypass;
  };
  const Case cases[] = {
      {{}, std::nullopt, std::nullopt},
      {{{"http_proxy", "127.0.0.1:3128"}}, L"127.0.0.1:3128", std::nullopt},
      {{{"HTTPS_PROXY", "127.0.0.1:3129"}}, L"127.0.0.1:3129", std::nullopt},
      // The lower-case http variable comes first; an empty one counts as unset.
      {{{"HTTP_PROXY", "127.0.0.1:2"}, {"http_proxy", "127.0.0.1:1"}}, L"127.0.0.1:1", std::nullopt},
      {{{"http_proxy", ""}, {"https_proxy", "127.0.0.1:3"}}, L"127.0.0.1:3", std::nullopt},
      {{{"NO_PROXY", "localhost,.lan"}}, std::nullopt, L"localhost,.lan"},
      {{{"https_proxy", "127.0.0.1:4"}, {"no_proxy", "a"}, {"NO_PROXY", "b"}}, L"127.0.0.1:4", L"a"},
  };
  for (const Case& c : cases) {
    ProxyEnvironment env(c.env);
    const platform::ProxySettings settings = platform::GetUserProxySettings();
    EXPECT_EQ(settings.autoConfigUrl, std::nullopt);
    EXPECT_EQ(settings.proxy, c.proxy) << Show(settings.proxy);
    EXPECT_EQ(settings.bypass, c.bypass) << Show(settings.bypass);
  }
}

TEST(ProxySettings, GnomeSettingsWinOverTheEnvironmentUnlessTheirModeIsNone) {
  if (!HasGnomeProxySchema()) GTEST_SKIP() << "org.gnome.system.proxy is not installed";
  ProxyEnvironment env({{"http_proxy", "127.0.0.1:9"}, {"no_proxy", "env"}});
  GnomeProxy gnome;
  gnome.IgnoreHosts({"localhost", "127.0.0.0/8"});

  // The default mode "none" leaves it to the environment.
  platform::ProxySettings settings = platform::GetUserProxySettings();
  EXPECT_EQ(settings.proxy, L"127.0.0.1:9");
  EXPECT_EQ(settings.bypass, L"env");

  gnome.Set("mode", "manual");
  gnome.Server("http", "10.1.2.3", 8080);
  settings = platform::GetUserProxySettings();
  EXPECT_EQ(settings.autoConfigUrl, std::nullopt);
  EXPECT_EQ(settings.proxy, L"http=10.1.2.3:8080") << Show(settings.proxy);
  EXPECT_EQ(settings.bypass, L"localhost,127.0.0.0/8");

  gnome.Server("https", "10.1.2.4", 8443);
  EXPECT_EQ(platform::GetUserProxySettings().proxy, L"http=10.1.2.3:8080;https=10.1.2.4:8443");

  gnome.Set("mode", "auto");
  gnome.Set("autoconfig-url", "http://wpad.lan/proxy.pac");
  gnome.IgnoreHosts({});
  settings = platform::GetUserProxySettings();
  EXPECT_EQ(settings.autoConfigUrl, L"http://wpad.lan/proxy.pac");
  EXPECT_EQ(settings.proxy, std::nullopt);
  EXPECT_EQ(settings.bypass, std::nullopt);
}

// The window only logs what it finds; its result is the number of the last
// text present.
TEST(ProxySettings, TheMainWindowLogsTheTextsAndCountsToTheLastOne) {
  ASSERT_TRUE(kMemorySettings);
  struct Case {
    std::vector<std::pair<const char*, std::string>> env;
    int result;
    std::vector<std::string> infoLines;
  };
  const Case cases[] = {
      {{}, 0, {}},
      {{{"http_proxy", "127.0.0.1:3128"}}, 2, {" Proxy info2: 127.0.0.1:3128"}},
      {{{"http_proxy", "127.0.0.1:3128"}, {"no_proxy", "localhost"}},
       3,
       {" Proxy info2: 127.0.0.1:3128", " Proxy info3: localhost"}},
      {{{"NO_PROXY", "localhost"}}, 3, {" Proxy info3: localhost"}},
  };
  InstallUIMainWnd window(L"CV_UI_Frame_proxy");
  for (const Case& c : cases) {
    ProxyEnvironment env(c.env);
    test::LogCapture log;
    EXPECT_EQ(window.GetIEProxyConfig(), c.result);
    std::vector<std::string> lines = log.lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), " Get proxy: 1, 0");
    lines.erase(lines.begin());
    EXPECT_EQ(lines, c.infoLines);
  }
}

}  // namespace
