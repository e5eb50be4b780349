#include "weblog/funnel_report.h"

#include <json/reader.h>

#include <cstring>
#include <initializer_list>
#include <memory>
#include <utility>

namespace {

void CopyOrDefault(const Json::Value& body, Json::Value& target,
                   std::initializer_list<const char*> keys, const Json::Value& fallback) {
  for (const char* key : keys) target[key] = body.get(key, fallback);
}

Json::Value MonitorOf(const Json::Value& body) {
  static constexpr std::pair<const char*, const char*> kParams[] = {
      {"start_time", "monitor_start_time"},     {"error_time", "monitor_error_time"},
      {"line_id", "monitor_line_id"},           {"error_code", "monitor_error_code"},
      {"total_memory", "monitor_total_memory"}, {"remain_memory", "monitor_remain_memory"},
      {"parent_pid", "monitor_main_pid"},       {"pid", "monitor_sub_pid"},
      {"ext_others", "monitor_ext1"},           {"user_ext", "monitor_user_ext"}};
  Json::Value monitor(Json::objectValue);
  monitor["monitor_type"] = body["monitor_type"];
  monitor["guid"] = body.get("monitor_guid", Json::Value());
  Json::Value& param = monitor["param"] = Json::Value(Json::objectValue);
  for (const auto& [name, key] : kParams) param[name] = body.get(key, Json::Value());
  return monitor;
}

}  // namespace

Json::Value ParseFunnelBody(const char* jsonStr) {
  Json::Value body;
  if (jsonStr) {
    const std::unique_ptr<Json::CharReader> reader(Json::CharReaderBuilder().newCharReader());
    if (!reader->parse(jsonStr, jsonStr + std::strlen(jsonStr), &body, nullptr))
      body = Json::Value();
  }
  return body.isObject() ? body : Json::Value(Json::objectValue);
}

Json::Value BuildFunnelReport(const Json::Value& body, const FunnelIdentity& identity,
                              std::int64_t timestampMs) {
  const Json::Value text("");
  const Json::Value zero(0);
  const Json::Value null;
  Json::Value common(Json::objectValue);
  common["uid"] = identity.uid;
  common["session_id"] = identity.sessionId;
  CopyOrDefault(body, common, {"pid"}, zero);
  CopyOrDefault(body, common, {"brand", "model", "channel"}, text);
  CopyOrDefault(body, common, {"is_new"}, zero);
  common["mac"] = "";
  common["os"] = "Win";
  common["os_version"] = identity.osVersion;
  CopyOrDefault(body, common, {"product", "product_version", "email", "phone"}, text);
  CopyOrDefault(body, common,
                {"is_vip", "is_login", "user_id", "cross_end_id", "source_type", "rnclid"}, null);
  CopyOrDefault(body, common, {"tools_version", "tools_lang", "kit_type"}, text);

  Json::Value report(Json::objectValue);
  report["common"] = std::move(common);
  if (body.isMember("entry")) report["start"]["entry"] = body["entry"];
  report["actions"] = body.get("actions", null);
  if (body.isMember("monitor_type")) report["monitor"] = MonitorOf(body);
  report["ts"] = Json::Int64{timestampMs};
  return report;
}
