#pragma once
// Helpers of the worker pool tests: bounded waits, tasks built by hand and a
// small driver loop like the download driver's.

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "download/CTask.h"
#include "download/CThreadManager.h"
#include "fixtures/log_capture.h"

namespace test {

// True once `ready` holds; false after `timeout`, so that a lost wake-up
// fails a test instead of hanging it.
inline bool WaitUntil(const std::function<bool()>& ready,
                      std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!ready()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

inline bool Logged(const LogCapture& log, const std::string& line) {
  for (const std::string& logged : log.lines()) {
    if (logged == line) return true;
  }
  return false;
}

// Bytes that differ from their neighbours, so a misplaced range shows.
inline std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) % 256);
  return bytes;
}

// Tasks of `taskSize` bytes tiling a file of `length` bytes; the final one
// ends at the length itself, like the task manager's.
inline std::vector<std::unique_ptr<CTask>> SplitIntoTasks(const std::string& url,
                                                           const std::string& localPath,
                                                           std::int64_t length,
                                                           std::int64_t taskSize) {
  std::vector<std::unique_ptr<CTask>> tasks;
  for (std::int64_t start = 0; start < length; start += taskSize) {
    auto task = std::make_unique<CTask>();
    task->TaskId = static_cast<std::int32_t>(tasks.size() + 1);
    task->RemotePath = url;
    task->LocalPath = localPath;
    task->StartPos = start;
    task->DownloadedPos = start;
    task->EndPos = start + taskSize >= length ? length : start + taskSize - 1;
    task->contentLength = length;
    tasks.push_back(std::move(task));
  }
  return tasks;
}

// Hands every task out to free workers until all are back; false when the
// round did not end within the bounded wait.
inline bool RunRound(CThreadManager& pool, const std::vector<std::unique_ptr<CTask>>& tasks) {
  std::size_t next = 0;
  return WaitUntil([&] {
    pool.recycleThreads();
    while (next < tasks.size() && pool.hasFreeThread()) {
      tasks[next]->TaskStatus = 3;
      pool.giveTaskToAThreadTodo(tasks[next].get());
      ++next;
    }
    return next == tasks.size() && !pool.hasBusyThread();
  });
}

}  // namespace test
