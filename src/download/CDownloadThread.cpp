#include "download/CDownloadThread.h"

#include <easylogging++.h>

CDownloadThread::CDownloadThread(std::FILE* packageFile) : packageFile_(packageFile) {}

// The thread uses curl_ until it ends.
CDownloadThread::~CDownloadThread() { endThread(); }

int CDownloadThread::taskBusiness() {
  CTask* task = currentTask();
  if (!task) return 1;
  if (task->DownloadedPos.load() == task->EndPos) {
    task->TaskStatus.store(1);
    return 1;
  }
  const CURLcode result =
      curl_.httpDownloadContent(task->RemotePath, task->DownloadedPos.load(), task->EndPos, this);
  // A write that failed (full disk, file-size limit) ends the transfer with
  // the bytes really written counted; the next round goes on from there.
  if (result != CURLE_OK || task->DownloadedPos.load() != task->EndPos) {
    task->RequestTimes += 1;
    task->TaskStatus.store(2);
    LOG(INFO) << " Tasks info, download fail(" << result << "), id = " << task->TaskId.load()
              << ", reqTime = " << task->RequestTimes.load();
  } else {
    task->TaskStatus.store(1);
    LOG(INFO) << " Tasks info, download success(" << result << "), id = " << task->TaskId.load()
              << ", reqTime = " << task->RequestTimes.load();
  }
  return 1;
}
