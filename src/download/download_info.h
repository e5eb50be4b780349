#pragma once
// Statistics of a download round as the driver last published them.

#include <cstdint>

struct DownloadInfo {
  std::uint64_t tick = 0;         // tick count of the update
  std::int64_t downloaded = 0;    // sum over tasks of DownloadedPos - StartPos + 1
  double percent = 0;             // of the remote length, two decimals
  std::int64_t elapsed = 0;       // ms of download time over every round and run
  std::int32_t requestTotal = 0;  // failed requests of all tasks in this run

  // Bytes per second over `elapsed`, in whole kilobytes per millisecond.
  std::int64_t averageSpeed() const { return elapsed > 0 ? downloaded / elapsed * 1000 : 0; }
};
