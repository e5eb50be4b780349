#include "install_log.h"

#include <sys/time.h>

#include <cerrno>
#include <cstring>
#include <ctime>

namespace package {

InstallLog::~InstallLog() {
  if (file_ != nullptr) std::fclose(file_);
}

bool InstallLog::Open(const std::string& path, std::string& error) {
  file_ = std::fopen(path.c_str(), "we");
  if (file_ == nullptr) {
    error = "cannot write the log file " + path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

void InstallLog::Line(const std::string& text) {
  if (file_ == nullptr) return;
  timeval now{};
  ::gettimeofday(&now, nullptr);
  std::tm local{};
  ::localtime_r(&now.tv_sec, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
  std::fprintf(file_, "%s.%03d   %s\n", stamp, static_cast<int>(now.tv_usec / 1000), text.c_str());
  std::fflush(file_);
}

}  // namespace package
