#include "system/china_time.h"

#include <cstdio>
#include <ctime>

namespace {

constexpr std::chrono::hours kChinaOffset{8};

}  // namespace

std::string FormatChinaStandardTime(std::chrono::system_clock::time_point utc) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(utc + kChinaOffset);
  std::tm fields{};
  if (!gmtime_r(&seconds, &fields)) return {};
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", fields.tm_year + 1900,
                fields.tm_mon + 1, fields.tm_mday, fields.tm_hour, fields.tm_min, fields.tm_sec);
  return text;
}

std::string GetChinaStandardTime() {
  return FormatChinaStandardTime(std::chrono::system_clock::now());
}
