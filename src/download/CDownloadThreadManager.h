#pragma once
// The download pool: opens the package file once per round and starts the
// workers that all write into it, serialised by "mutex_for_downloadthread".

#include <cstdio>
#include <string>

#include "download/CThreadManager.h"

class CDownloadThreadManager : public CThreadManager {
 public:
  explicit CDownloadThreadManager(std::string packagePath);
  // Stops and releases the workers, closes the file.
  ~CDownloadThreadManager() override;

  // Workers started, 0 none, -1 the package file could not be opened.
  int createThreads(int count) override;
  // True when the package file can be opened for reading.
  bool localFileExists() const;
  // Releases the workers first: they write into the file until they end.
  void closePackageFile();

 private:
  // The package file, unbuffered; a running executable at the path is ended.
  bool OpenPackageFile();

  std::string packagePath_;
  std::FILE* packageFile_ = nullptr;
};

// max(4, processors * 8 / 5)
int DownloadWorkerCount(unsigned processors);
