// The installer's log file (/LOG=): one line per event, each prefixed with
// the local time and flushed at once, so that a killed installer still
// leaves what it did. Without a path nothing is written.
#pragma once

#include <cstdio>
#include <string>

namespace package {

class InstallLog {
 public:
  InstallLog() = default;
  ~InstallLog();
  InstallLog(const InstallLog&) = delete;
  InstallLog& operator=(const InstallLog&) = delete;

  // Creates or truncates the file; false with `error` set when it cannot.
  bool Open(const std::string& path, std::string& error);
  void Line(const std::string& text);

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace package
