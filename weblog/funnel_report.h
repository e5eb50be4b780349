#pragma once
// The report object of a funnel report: the caller's flat body regrouped
// into "common" (who and where), "start", "actions", "monitor" and "ts".

#include <json/value.h>

#include <cstdint>
#include <string>

struct FunnelIdentity {
  std::string uid;
  std::string sessionId;
  std::string osVersion;  // "<system name> x64" or "... x32"
};

// A text that does not parse, or parses to no JSON object, counts as an
// empty object: the report still goes out with its defaults.
Json::Value ParseFunnelBody(const char* jsonStr);

Json::Value BuildFunnelReport(const Json::Value& body, const FunnelIdentity& identity,
                              std::int64_t timestampMs);
