#include "telemetry/funnel_body.h"

namespace telemetry {

Json::Value FunnelStepActions(const std::string& eventType, const std::string& coreFuncName,
                              int funcStep, const std::string& category, const std::string& action,
                              const std::string& label) {
  Json::Value actions(Json::objectValue);
  actions["event_category"] = category;
  actions["event_action"] = action;
  actions["event_label"] = label;
  if (!coreFuncName.empty()) {
    actions["core_func_name"] = coreFuncName;
    actions["func_step"] = funcStep;
  }
  actions["event_type"] = eventType.empty() ? "event" : eventType;
  return actions;
}

Json::Value FunnelFreeActions(const std::string& category, const std::string& action,
                              const std::map<std::string, std::string>& labels) {
  Json::Value actions(Json::objectValue);
  actions["event_type"] = "event";
  actions["event_category"] = category;
  actions["event_action"] = action;
  for (const auto& [key, value] : labels) {
    if (!key.empty()) actions[key] = value;
  }
  return actions;
}

std::string BuildFunnelBody(const FunnelFields& fields, const Json::Value& actions) {
  Json::Value body(Json::objectValue);
  body["is_new"] = fields.isNew ? 1 : 0;
  body["brand"] = "PC";
  body["model"] = "PC";
  body["product"] = fields.productName;
  body["product_version"] = fields.productVersion;
  body["email"] = "";
  body["phone"] = "";
  body["cross_end_id"] = fields.clickId;
  body["rnclid"] = fields.clickId;
  body["source_type"] = "downloader";
  body["tools_version"] = fields.toolsVersion;
  body["tools_lang"] = fields.toolsLanguage;
  body["kit_type"] = fields.kitType;
  body["actions"] = actions;
  body["pid"] = fields.mainProductId;
  return body.toStyledString();
}

}  // namespace telemetry
