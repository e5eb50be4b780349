#include "platform/proxy_settings.h"

#include <gio/gio.h>

#include <cstdlib>
#include <initializer_list>
#include <memory>

#include "platform/utf8.h"

namespace platform {
namespace {

constexpr char kProxySchema[] = "org.gnome.system.proxy";

struct GObjectUnref {
  void operator()(gpointer object) const { g_object_unref(object); }
};
using Settings = std::unique_ptr<GSettings, GObjectUnref>;

std::optional<std::wstring> Present(const std::string& text) {
  if (text.empty()) return std::nullopt;
  return FromUtf8(text);
}

std::string StringSetting(GSettings* settings, const char* key) {
  gchar* value = g_settings_get_string(settings, key);
  std::string text = value ? value : "";
  g_free(value);
  return text;
}

// g_settings_new() aborts the process on a schema that is not installed.
Settings OpenSchema(const char* id) {
  GSettingsSchemaSource* source = g_settings_schema_source_get_default();
  if (!source) return nullptr;
  GSettingsSchema* schema = g_settings_schema_source_lookup(source, id, TRUE);
  if (!schema) return nullptr;
  Settings settings(g_settings_new_full(schema, nullptr, nullptr));
  g_settings_schema_unref(schema);
  return settings;
}

// "scheme=host:port" of one manual proxy, empty when its host is not set.
std::string ManualEntry(GSettings* proxy, const char* scheme) {
  Settings child(g_settings_get_child(proxy, scheme));
  const std::string host = StringSetting(child.get(), "host");
  if (host.empty()) return {};
  return std::string(scheme) + "=" + host + ":" +
         std::to_string(g_settings_get_int(child.get(), "port"));
}

std::string IgnoreHosts(GSettings* proxy) {
  gchar** hosts = g_settings_get_strv(proxy, "ignore-hosts");
  std::string joined;
  for (gchar** host = hosts; host && *host; ++host) {
    if (!joined.empty()) joined += ",";
    joined += *host;
  }
  g_strfreev(hosts);
  return joined;
}

std::optional<ProxySettings> FromGnome() {
  const Settings proxy = OpenSchema(kProxySchema);
  if (!proxy) return std::nullopt;
  const std::string mode = StringSetting(proxy.get(), "mode");
  ProxySettings result;
  if (mode == "auto") {
    result.autoConfigUrl = Present(StringSetting(proxy.get(), "autoconfig-url"));
  } else if (mode == "manual") {
    std::string servers = ManualEntry(proxy.get(), "http");
    const std::string https = ManualEntry(proxy.get(), "https");
    if (!servers.empty() && !https.empty()) servers += ";";
    result.proxy = Present(servers + https);
  } else {
    return std::nullopt;
  }
  result.bypass = Present(IgnoreHosts(proxy.get()));
  return result;
}

std::optional<std::wstring> FirstVariable(std::initializer_list<const char*> names) {
  for (const char* name : names) {
    const char* value = std::getenv(name);
    if (value && *value) return FromUtf8(value);
  }
  return std::nullopt;
}

}  // namespace

ProxySettings GetUserProxySettings() {
  if (std::optional<ProxySettings> gnome = FromGnome()) return *gnome;
  ProxySettings result;
  result.proxy = FirstVariable({"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY"});
  result.bypass = FirstVariable({"no_proxy", "NO_PROXY"});
  return result;
}

}  // namespace platform
