#pragma once
// The day marker file "galog.json" in the work directory: the local date of
// the last run that was the first of its day, and the tools version that
// last wrote it. It decides the funnel's "is_new".
//
// The file is a JSON object in jsoncpp's StyledWriter form. A file that is
// not a JSON object counts as an empty one; failures to write are ignored.

#include <string>

namespace telemetry {

struct LocalDate {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;
};

LocalDate TodayLocalDate();

// work directory + "/galog.json"; empty for an empty work directory, which
// has no marker.
std::wstring DayMarkerPath(const std::wstring& workDirectory);

// Brings the date of the marker at `file` to `today`, keeping its other
// keys; true ("is new") unless it already named `today`. Without a file
// (empty path) every run is new.
bool MarkRunDay(const std::wstring& file, const LocalDate& today);

// Writes `toolsVersion` as the marker's "version" unless it says so already.
void MarkToolsVersion(const std::wstring& file, const std::string& toolsVersion);

}  // namespace telemetry
