#pragma once
// The query text of one Google Analytics 4 event, before the web log object
// URL-encodes it and adds the client id.

#include <cstddef>
#include <string>

namespace telemetry {

// The buffer of the Windows program held 4096 bytes with its terminator.
constexpr std::size_t kGa4QueryMaxBytes = 4095;

// The custom dimensions cd1..cd8 every event carries.
struct Ga4Dimensions {
  std::string toolsVersion;    // cd1
  std::string channelClass;    // cd2
  std::string siteName;        // cd3
  std::string productName;     // cd4
  std::string systemCountry;   // cd5
  std::string systemLanguage;  // cd6
  std::string osDescription;   // cd7
  bool kitFlag = false;        // cd8 is 1 without it
};

// At most kGa4QueryMaxBytes: a long label is shortened first (the event
// name and dimensions after it stay whole), bytes pass unencoded.
std::string BuildGa4Query(const Ga4Dimensions& dimensions, const std::string& category,
                          const std::string& action, const std::string& label);

}  // namespace telemetry
