#pragma once
// A download worker for the callbacks and the ranged download: one task and
// a package stream that may be shared with other workers.

#include <cstdio>
#include <memory>
#include <string>

#include "download/download_worker.h"

namespace test {

using SharedFile = std::shared_ptr<std::FILE>;

// Null when the file cannot be opened.
inline SharedFile OpenPackage(const std::string& path, const char* mode = "w+b") {
  std::FILE* file = std::fopen(path.c_str(), mode);
  return file ? SharedFile(file, &std::fclose) : SharedFile();
}

class TestWorker final : public DownloadWorker {
 public:
  explicit TestWorker(SharedFile file) : file_(std::move(file)) {}

  // A task of bytes start..end of a file of `length` bytes (end = length for
  // the final task), nothing written yet.
  void Assign(std::int32_t id, std::int64_t start, std::int64_t end, std::int64_t length) {
    task.TaskId = id;
    task.StartPos = start;
    task.EndPos = end;
    task.DownloadedPos = start;
    task.contentLength = length;
  }
  bool complete() const { return task.DownloadedPos.load() == task.EndPos; }

  CTask* currentTask() override { return &task; }
  std::FILE* packageFile() override { return file_.get(); }

  CTask task;

 private:
  SharedFile file_;
};

}  // namespace test
