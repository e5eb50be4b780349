#pragma once
// China Standard Time (UTC+8, no daylight saving) as
// "%04d-%02d-%02d %02d:%02d:%02d", the time stamp the windows show and send,
// whatever the machine's own time zone.

#include <chrono>
#include <string>

std::string FormatChinaStandardTime(std::chrono::system_clock::time_point utc);

// The current time.
std::string GetChinaStandardTime();
