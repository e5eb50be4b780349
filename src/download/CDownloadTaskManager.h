#pragma once
// The tasks of one download round: probes the remote length, splits the
// package into 4 MiB ranges, hands them out, and keeps their state in the
// task-information file beside the package so that the next round or run
// resumes where this one stopped.
//
// Loading, probing and splitting run before the driver thread starts; after
// that only the driver thread calls in. Workers touch only their own task.

#include <curl/curl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "download/CTask.h"
#include "download/CTaskManager.h"

class CSingleUserLog;

class CDownloadTaskManager : public CTaskManager {
 public:
  static constexpr std::int64_t kTaskSize = 4194304;
  // Beyond any real package; keeps the task list within memory and int32.
  static constexpr std::int64_t kMaxContentLength = std::int64_t{1} << 40;
  static constexpr int kMaxProbes = 10;

  // Events go to the process's event log.
  CDownloadTaskManager(std::string remoteUrl, std::string localPath, std::string taskInfoPath);
  CDownloadTaskManager(std::string remoteUrl, std::string localPath, std::string taskInfoPath,
                       CSingleUserLog& userLog);
  ~CDownloadTaskManager() override;  // deletes the tasks
  CDownloadTaskManager(const CDownloadTaskManager&) = delete;
  CDownloadTaskManager& operator=(const CDownloadTaskManager&) = delete;

  // Resumes from the task-information file when it still fits the remote
  // file; otherwise deletes package and file and starts from zero.
  // EnumErrorCode: 1, or generateDownloadTask's result. `flag` is not used.
  int loadDownloadTask(int flag, const std::string& label);
  // Probes the length (up to 10 times) and splits. 1, 6 (no length) or 13
  // (too many redirects). A non-empty label reports the probe series.
  int generateDownloadTask(int flag, const std::string& label);
  // The remote length, 0 on failure; from the process's cache when known
  // (then `code` is left alone). Follows "Location:" by replacing the URL.
  std::int64_t getContentLength(CURLcode& code, std::string& cdnStatus);

  // Replaces the tasks with the file's. True when every loaded task is done;
  // false also when the file is unreadable or holds values that cannot be
  // right, in which case no task is loaded.
  bool loadTaskFromFile();
  // Replaces the file as a whole, so a crash never leaves half of it.
  bool saveTaskToFile();
  // 1 valid, 2 length changed (DL025), 3 layout broken (DL026).
  int checkTaskInfo();
  bool taskInfoFileExists() const;

  void clearTasks();
  void addTask(CTask* task);  // takes ownership
  CTask* getTask() override;
  void addTodoTask(CTask* task) override;
  void addDoneTask(CTask* task) override;

  const std::vector<CTask*>& allTasks() const { return allTasks_; }
  const std::vector<CTask*>& todoTasks() const { return todoTasks_; }
  const std::vector<CTask*>& handedOutTasks() const { return handedOutTasks_; }
  // The redirect target once the probe met one.
  const std::string& remoteUrl() const { return remoteUrl_; }

  std::int32_t TasksCount = 0;
  std::int64_t ContentLength = 0;
  std::int64_t DownloadTime = 0;  // ms over all runs; the driver adds to it on its thread

 private:
  enum class FileState { kUnreadable, kInvalid, kLoaded };

  FileState ReadTaskFile();
  std::string TaskFileText() const;
  void SplitIntoTasks(std::int64_t length, const std::string& probeCdnStatus);
  void ReportCdnStatus(const std::string& header, std::string& cdnStatus);
  void LogTaskCounts(const char* what) const;
  void ReportLayoutBroken();

  std::string remoteUrl_;
  const std::string localPath_;
  const std::string taskInfoPath_;
  CSingleUserLog& userLog_;

  std::vector<CTask*> allTasks_;  // owns the tasks
  std::vector<CTask*> todoTasks_;
  std::vector<CTask*> handedOutTasks_;
};
