#pragma once
// One byte range of the package, downloaded on its own by a worker thread.
// Worker threads and the driver read TaskStatus and TaskId concurrently, and
// the statistics read DownloadedPos and RequestTimes while a worker writes
// them, hence atomics.

#include <atomic>
#include <cstdint>
#include <string>

class CTask {
 public:
  std::atomic<std::int32_t> TaskStatus{0};  // 0 to do, 1 done, 2 failed, 3 handed to a worker
  std::atomic<std::int32_t> TaskId{0};      // 1-based position in the file
  std::string RemotePath;
  std::string LocalPath;
  std::string probeCdnStatus;  // CDN status seen by the length probe
  std::string cdnStatus;       // CDN status seen by this task's own responses
  std::int64_t StartPos = 0;
  std::int64_t EndPos = 0;  // last byte of the range; the file length for the final task
  std::atomic<std::int64_t> DownloadedPos{0};  // next byte to write; EndPos when done
  std::int64_t contentLength = 0;              // remote file length, 0 when unknown
  std::atomic<std::int32_t> RequestTimes{0};  // failed requests in this run
};
