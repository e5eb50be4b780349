// The write callback of the ranged download: puts each chunk at the task's
// position in the shared package file.
#include <easylogging++.h>
#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "download/CLibcurlTool.h"

namespace {

// Positional writes leave the shared descriptor's offset alone, so the
// workers write side by side without a lock; a short count is what really
// reached the file.
std::size_t WriteAt(int fd, const char* data, std::size_t size, std::int64_t position) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t put =
        ::pwrite(fd, data + done, size - done, static_cast<off_t>(position + done));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) break;
    done += static_cast<std::size_t>(put);
  }
  return done;
}

struct WriteOutcome {
  std::size_t written = 0;
  bool heldBack = false;
};

// A task is complete when DownloadedPos equals EndPos. For the final task
// EndPos is the file length, one past its last byte; for any other task it
// is the last byte itself, so there DownloadedPos == EndPos would also read
// "one byte missing". That position is never stored: the byte before EndPos
// is given back and fetched again with the last one.
WriteOutcome WriteChunk(const char* data, std::size_t count, CTask& task, std::FILE* file) {
  const std::int64_t position = task.DownloadedPos.load();
  const std::int64_t end = task.EndPos;
  const bool finalTask = task.contentLength > 0 && end >= task.contentLength;
  // With an unknown file length a task cannot tell whether it is the final one.
  const bool guardLastByte = task.contentLength > 0 && !finalTask;
  const std::int64_t stop = finalTask ? end : end + 1;  // one past the task's last byte

  const std::int64_t room = position >= end ? 0 : stop - position;
  const auto wanted =
      static_cast<std::size_t>(std::min<std::int64_t>(room, static_cast<std::int64_t>(count)));
  WriteOutcome outcome;
  if (wanted > 0) outcome.written = WriteAt(fileno(file), data, wanted, position);
  const std::int64_t reached = position + static_cast<std::int64_t>(outcome.written);
  if (reached == stop) {
    task.DownloadedPos.store(end);
  } else if (guardLastByte && reached == end && outcome.written > 0) {
    task.DownloadedPos.store(end - 1);
    outcome.written -= 1;
    outcome.heldBack = true;
  } else {
    task.DownloadedPos.store(reached);
  }
  return outcome;
}

}  // namespace

std::size_t CLibcurlTool::downloadFunc(char* data, std::size_t size, std::size_t count,
                                       void* worker) {
  const std::size_t received = size * count;
  auto* owner = static_cast<DownloadWorker*>(worker);
  CTask* task = owner ? owner->currentTask() : nullptr;
  std::FILE* file = owner ? owner->packageFile() : nullptr;
  if (!data || !task || !file) {
    LOG(INFO) << " downloadFunc: no task or package file, transfer stopped";
    return 0;
  }
  WriteOutcome outcome;
  outcome = WriteChunk(data, received, *task, file);
  if (outcome.written != received) {
    LOG(INFO) << " Write Error. Task id：" << task->TaskId.load()
              << " Download to:" << task->DownloadedPos.load() << " Receive:" << received
              << " Write:" << outcome.written << " Task EndPos:" << task->EndPos;
  }
  if (outcome.heldBack) {
    LOG(INFO) << " Task id：" << task->TaskId.load()
              << " stopped one byte before EndPos; the rest comes with a later request";
  }
  return outcome.written;
}
