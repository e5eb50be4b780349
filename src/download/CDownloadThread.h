#pragma once
// A worker of the download pool: fetches its task's remaining range with a
// libcurl handle of its own into the package file all workers share.

#include <cstdio>

#include "download/CLibcurlTool.h"
#include "download/CThread.h"
#include "download/download_worker.h"

class CDownloadThread : public CThread, public DownloadWorker {
 public:
  // The file is not owned.
  explicit CDownloadThread(std::FILE* packageFile);
  ~CDownloadThread() override;

  // One request for the current task, which ends done (1) or failed (2); 1.
  int taskBusiness() override;

  CTask* currentTask() override { return task(); }
  std::FILE* packageFile() override { return packageFile_; }

 private:
  std::FILE* packageFile_;
  CLibcurlTool curl_;
};
