#include "system/time_stamp.h"

#include <chrono>
#include <cstdio>
#include <ctime>

std::wstring LocalTimeStamp() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
  localtime_r(&seconds, &local);
  wchar_t text[32];
  std::swprintf(text, sizeof text / sizeof text[0], L"%.4d%.2d%.2d%.2d%.2d%.2d%.3d",
                local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                local.tm_min, local.tm_sec, static_cast<int>(millis));
  return text;
}
