#pragma once
// What the download callbacks need from the worker thread that runs the
// transfer: its current task and the package file all workers share.

#include <cstdio>

#include "download/CTask.h"

class DownloadWorker {
 public:
  virtual CTask* currentTask() = 0;
  virtual std::FILE* packageFile() = 0;

 protected:
  ~DownloadWorker() = default;
};
