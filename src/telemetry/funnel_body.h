#pragma once
// The JSON document of one funnel event for the maker's analytics collector.

#include <json/value.h>

#include <map>
#include <string>

namespace telemetry {

// What every funnel body says about the run.
struct FunnelFields {
  bool isNew = false;
  std::string productName;
  std::string productVersion;  // "" while there is no main window
  std::string clickId;
  std::string toolsVersion;
  std::string toolsLanguage;  // "" while there is no main window
  int kitType = 0;            // 2 kit step, 1 kit downloader, 0 other
  int mainProductId = 0;
};

// "actions" of a funnel step: an empty event type reads "event", and
// "core_func_name" / "func_step" appear only with a core function.
Json::Value FunnelStepActions(const std::string& eventType, const std::string& coreFuncName,
                              int funcStep, const std::string& category, const std::string& action,
                              const std::string& label);

// "actions" of an event with free keys; entries with an empty key are left out.
Json::Value FunnelFreeActions(const std::string& category, const std::string& action,
                              const std::map<std::string, std::string>& labels);

// The body in jsoncpp's styled form (members in key order, tab indentation).
std::string BuildFunnelBody(const FunnelFields& fields, const Json::Value& actions);

}  // namespace telemetry
