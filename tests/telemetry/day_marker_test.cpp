#include "telemetry/day_marker.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "fixtures/temp_dir.h"

namespace {

using telemetry::DayMarkerPath;
using telemetry::LocalDate;
using telemetry::MarkRunDay;
using telemetry::MarkToolsVersion;

constexpr LocalDate kToday{2024, 3, 9};

// The StyledWriter form of a marker with only today's date.
constexpr const char* kTodayMarker =
    "{\n   \"day\" : 9,\n   \"month\" : 3,\n   \"year\" : 2024\n}\n";

TEST(DayMarker, FirstRunOfTheDayIsNewAndRewritesOnlyTheDate) {
  struct Case {
    const char* what;
    const char* before;  // nullptr: no file
    bool isNew;
    const char* after;
  };
  const Case cases[] = {
      {"missing file", nullptr, true, kTodayMarker},
      {"same day", "{\"year\": 2024, \"month\": 3, \"day\": 9, \"version\": \"1.0\"}", false,
       "{\"year\": 2024, \"month\": 3, \"day\": 9, \"version\": \"1.0\"}"},
      {"other day keeps other keys",
       "{\"year\": 2024, \"month\": 3, \"day\": 8, \"version\": \"1.0\"}", true,
       "{\n   \"day\" : 9,\n   \"month\" : 3,\n   \"version\" : \"1.0\",\n   \"year\" : 2024\n}\n"},
      {"other year", "{\"year\": 2023, \"month\": 3, \"day\": 9}", true, kTodayMarker},
      {"not JSON", "\x01garbage{{", true, kTodayMarker},
      {"JSON but no object", "[2024, 3, 9]", true, kTodayMarker},
      {"date as text", "{\"year\": \"2024\", \"month\": \"3\", \"day\": \"9\"}", true,
       kTodayMarker},
      {"empty file", "", true, kTodayMarker},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    const std::wstring file = DayMarkerPath(dir.wpath());
    if (c.before) dir.Write("galog.json", c.before);
    EXPECT_EQ(MarkRunDay(file, kToday), c.isNew) << c.what;
    EXPECT_EQ(test::ReadFile(dir.path() / "galog.json"), c.after) << c.what;
  }
}

TEST(DayMarker, SecondStartOnTheSameDayIsNotNew) {
  test::TempDir dir;
  const std::wstring file = DayMarkerPath(dir.wpath());
  EXPECT_TRUE(MarkRunDay(file, kToday));
  EXPECT_FALSE(MarkRunDay(file, kToday));
  EXPECT_TRUE(MarkRunDay(file, LocalDate{2024, 3, 10}));
}

TEST(DayMarker, WithoutAUsableFileEveryRunIsNew) {
  test::TempDir dir;
  EXPECT_TRUE(MarkRunDay(DayMarkerPath(L""), kToday));
  EXPECT_TRUE(MarkRunDay(dir.WFile("no-such-folder/galog.json"), kToday));
  EXPECT_TRUE(MarkRunDay(dir.WFile("no-such-folder/galog.json"), kToday));
  // A directory in the file's place can be neither read nor replaced.
  std::filesystem::create_directory(dir.path() / "galog.json");
  EXPECT_TRUE(MarkRunDay(DayMarkerPath(dir.wpath()), kToday));
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "galog.json"));
}

TEST(DayMarker, PathJoinsTheWorkDirectory) {
  EXPECT_EQ(DayMarkerPath(L"/tmp/Brisko"), L"/tmp/Brisko/galog.json");
  EXPECT_EQ(DayMarkerPath(L"/tmp/"), L"/tmp/galog.json");
  EXPECT_EQ(DayMarkerPath(L""), L"");
}

TEST(DayMarker, VersionIsWrittenOnlyWhenItChanges) {
  struct Case {
    const char* what;
    const char* before;  // nullptr: no file
    const char* after;
  };
  const Case cases[] = {
      {"missing file", nullptr, "{\n   \"version\" : \"1.0.0.1\"\n}\n"},
      {"no version yet", "{\"year\": 2024, \"month\": 3, \"day\": 9}",
       "{\n   \"day\" : 9,\n   \"month\" : 3,\n   \"version\" : \"1.0.0.1\",\n"
       "   \"year\" : 2024\n}\n"},
      {"other version", "{\"version\": \"0.9\"}", "{\n   \"version\" : \"1.0.0.1\"\n}\n"},
      {"same version, not rewritten", "{ \"version\":\"1.0.0.1\" }", "{ \"version\":\"1.0.0.1\" }"},
      {"not JSON", "nonsense", "{\n   \"version\" : \"1.0.0.1\"\n}\n"},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    if (c.before) dir.Write("galog.json", c.before);
    MarkToolsVersion(DayMarkerPath(dir.wpath()), "1.0.0.1");
    EXPECT_EQ(test::ReadFile(dir.path() / "galog.json"), c.after) << c.what;
  }
}

}  // namespace
