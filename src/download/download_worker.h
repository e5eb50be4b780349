#pragma once
// What the download callbacks need from the worker thread that runs the
// transfer: its current task, the package file all workers share, and the
// mutex that serialises their seek-and-write pairs.

#include <cstdio>

#include "download/CTask.h"
#include "platform/named_mutex.h"

class DownloadWorker {
 public:
  virtual CTask* currentTask() = 0;
  virtual std::FILE* packageFile() = 0;
  virtual platform::NamedMutex& writeMutex() = 0;

 protected:
  ~DownloadWorker() = default;
};
