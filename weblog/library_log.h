#pragma once
// The web log's own failure log: "<folder>/.log", appended to with the prefix
// "[year/month/day-hour:minute:second] " (local time, no padding), written
// only while the folder exists, so a machine without it gets no file. The
// default folder is "Logs" beside the executable, which for a program that
// loads libweblog.so is that program's folder.

#include <string>
#include <string_view>

class LibraryLog {
 public:
  explicit LibraryLog(std::wstring folder = DefaultFolder());

  static std::wstring DefaultFolder();

  // Appends `message` as it is (callers end it with "\n"). Thread-safe.
  void Append(std::string_view message) const;

 private:
  std::wstring folder_;
};
