// China Standard Time stamps.
#include <gtest/gtest.h>

#include <time.h>

#include <chrono>
#include <regex>

#include "fixtures/scoped_env.h"
#include "system/china_time.h"

namespace {

using namespace std::chrono;
using namespace std::chrono_literals;

TEST(ChinaStandardTime, IsUtcPlusEightHoursAllYear) {
  struct Case {
    system_clock::time_point utc;
    const char* text;
  };
  const Case cases[] = {
      {sys_days{1970y / 1 / 1}, "1970-01-01 08:00:00"},
      {sys_days{2024y / 2 / 29} + 16h + 30min + 5s, "2024-03-01 00:30:05"},  // across midnight
      {sys_days{2024y / 7 / 1} + 12h, "2024-07-01 20:00:00"},  // no daylight saving
      {sys_days{2023y / 12 / 31} + 23h + 59min + 59s, "2024-01-01 07:59:59"},
      {sys_days{2024y / 3 / 10} + 1s + 999ms, "2024-03-10 08:00:01"},  // seconds are cut
      {sys_days{1969y / 12 / 31} + 12h, "1969-12-31 20:00:00"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatChinaStandardTime(c.utc), c.text);
}

TEST(ChinaStandardTime, NowIgnoresTheLocalTimeZone) {
  std::string before, now, after;
  {
    test::ScopedEnv zone("TZ", "America/New_York");
    tzset();
    before = FormatChinaStandardTime(system_clock::now());
    now = GetChinaStandardTime();
    after = FormatChinaStandardTime(system_clock::now());
  }
  tzset();  // the process's own zone again for the tests after this one
  EXPECT_TRUE(std::regex_match(now, std::regex(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2})"))) << now;
  EXPECT_TRUE(now == before || now == after) << before << " / " << now << " / " << after;
}

}  // namespace
