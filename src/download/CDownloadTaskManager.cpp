// The task lists, resuming or starting a download, and the split into
// ranges.
#include "download/CDownloadTaskManager.h"

#include <easylogging++.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>
#include <utility>

#include "download/error_code.h"
#include "telemetry/SingleUserLog.h"

namespace {

// Files only, as DeleteFileA: a directory of that name stays.
void DeleteFileAt(const std::string& path) {
  std::error_code error;
  const std::filesystem::path file(path);
  if (!std::filesystem::is_directory(std::filesystem::symlink_status(file, error)))
    std::filesystem::remove(file, error);
}

std::string JoinProbeResults(const std::vector<std::string>& results) {
  std::string joined;
  for (const std::string& result : results) {
    if (!joined.empty()) joined += "/";
    joined += result;
  }
  return joined;
}

}  // namespace

CDownloadTaskManager::CDownloadTaskManager(std::string remoteUrl, std::string localPath,
                                           std::string taskInfoPath)
    : CDownloadTaskManager(std::move(remoteUrl), std::move(localPath), std::move(taskInfoPath),
                           CSingleUserLog::GetInstance()) {}

CDownloadTaskManager::CDownloadTaskManager(std::string remoteUrl, std::string localPath,
                                           std::string taskInfoPath, CSingleUserLog& userLog)
    : remoteUrl_(std::move(remoteUrl)),
      localPath_(std::move(localPath)),
      taskInfoPath_(std::move(taskInfoPath)),
      userLog_(userLog) {}

CDownloadTaskManager::~CDownloadTaskManager() { clearTasks(); }

void CDownloadTaskManager::clearTasks() {
  for (CTask* task : allTasks_) delete task;
  allTasks_.clear();
  todoTasks_.clear();
  handedOutTasks_.clear();
  TasksCount = 0;
}

void CDownloadTaskManager::addTask(CTask* task) {
  allTasks_.push_back(task);
  if (task->TaskStatus.load() == 1) {
    addDoneTask(task);
  } else {
    addTodoTask(task);
  }
}

CTask* CDownloadTaskManager::getTask() {
  if (todoTasks_.empty()) return nullptr;
  CTask* task = todoTasks_.front();
  todoTasks_.erase(todoTasks_.begin());
  task->TaskStatus.store(3);
  handedOutTasks_.push_back(task);
  return task;
}

void CDownloadTaskManager::addTodoTask(CTask* task) { todoTasks_.push_back(task); }

void CDownloadTaskManager::addDoneTask(CTask* task) { handedOutTasks_.push_back(task); }

void CDownloadTaskManager::LogTaskCounts(const char* what) const {
  LOG(INFO) << " Tasks info, " << what << " ok, total " << allTasks_.size() << ", todo "
            << todoTasks_.size() << ", complete " << handedOutTasks_.size();
}

int CDownloadTaskManager::loadDownloadTask(int flag, const std::string& label) {
  if (taskInfoFileExists()) {
    const FileState state = ReadTaskFile();
    int check = 3;
    if (state == FileState::kLoaded) {
      check = checkTaskInfo();
    } else if (state == FileState::kInvalid) {
      ReportLayoutBroken();
    }
    if (check == 1) {
      LOG(INFO) << " Load tasks from file success!";
      if (!todoTasks_.empty()) userLog_.AddUserLog_funnelEx("Download", "ResumUpload", "", "");
      return kDownloadOk;
    }
    LOG(INFO) << " taskinfo file error";
    clearTasks();
    DeleteFileAt(localPath_);
    DeleteFileAt(taskInfoPath_);
    ContentLength = 0;
    DownloadTime = 0;
  }
  return generateDownloadTask(flag, label);
}

int CDownloadTaskManager::checkTaskInfo() {
  CURLcode code = CURLE_OK;
  std::string cdnStatus;
  if (getContentLength(code, cdnStatus) != ContentLength) {
    userLog_.AddUserLog("Other", "FlowError", "DL025", false);
    return 2;
  }
  std::int64_t expectedStart = 0;
  bool tiled = !allTasks_.empty();
  for (const CTask* task : allTasks_) {
    if (task->StartPos != expectedStart ||
        task->StartPos != (std::int64_t{task->TaskId.load()} - 1) * kTaskSize) {
      tiled = false;
      break;
    }
    expectedStart = task->EndPos + 1;
  }
  if (!tiled || expectedStart != ContentLength + 1) {
    ReportLayoutBroken();
    return 3;
  }
  return 1;
}

void CDownloadTaskManager::ReportLayoutBroken() {
  userLog_.AddUserLog("Other", "FlowError", "DL026", false);
}

int CDownloadTaskManager::generateDownloadTask(int, const std::string& label) {
  std::string cdnStatus;
  CURLcode code = CURLE_OK;
  std::int64_t length = 0;
  std::vector<std::string> results;
  while (length <= 0 && static_cast<int>(results.size()) < kMaxProbes) {
    length = getContentLength(code, cdnStatus);
    if (length > 0) {
      results.push_back("Success");
    } else {
      results.push_back("error:" + std::to_string(code));
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }
  results.resize(kMaxProbes, "Null");
  if (!label.empty()) {
    const std::string joined = JoinProbeResults(results);
    userLog_.AddUserLog("Other", "Download", joined.c_str(), false);
    LOG(INFO) << " GetSize: " << label << ", " << joined;
  }
  if (length <= 0) {
    LOG(INFO) << " [Error]: " << "get content length failed, url " << remoteUrl_ << ", code "
              << code;
    return code == CURLE_TOO_MANY_REDIRECTS ? kTooManyRedirects : kNoContentLength;
  }
  SplitIntoTasks(length, cdnStatus);
  LogTaskCounts("generate");
  return kDownloadOk;
}

// The remainder below 4 MiB goes to the final task, whose EndPos is the
// length itself.
void CDownloadTaskManager::SplitIntoTasks(std::int64_t length, const std::string& probeCdnStatus) {
  ContentLength = length;
  TasksCount = static_cast<std::int32_t>(std::max<std::int64_t>(1, length / kTaskSize));
  for (std::int32_t id = 1; id <= TasksCount; ++id) {
    auto* task = new CTask;
    task->StartPos = (std::int64_t{id} - 1) * kTaskSize;
    task->DownloadedPos.store(task->StartPos);
    task->EndPos = id == TasksCount ? length : std::int64_t{id} * kTaskSize - 1;
    task->TaskId.store(id);
    task->RemotePath = remoteUrl_;
    task->LocalPath = localPath_;
    task->contentLength = length;
    task->probeCdnStatus = probeCdnStatus;
    addTask(task);
  }
}
