#pragma once
// Where a supervised download round reports its progress (the main window).

#include <cstdint>

class DownloadProgress {
 public:
  // Called from the downloading thread.
  virtual void OnDownloadProgress(std::int64_t downloaded, std::int64_t total) = 0;

 protected:
  ~DownloadProgress() = default;
};
