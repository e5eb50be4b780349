#pragma once
// The run's values that start-up hands to the event log (SetUserLogInfo),
// with the "is new" they decide.

#include <string>

namespace telemetry {

struct UserLogProfile {
  int siteId = 0;
  std::string productName;  // UTF-8
  std::string downloadUrl;  // UTF-8
  bool kitFlag = false;
  std::wstring workDirectory;
  int mainProductId = 0;
  bool isNew = false;
};

}  // namespace telemetry
