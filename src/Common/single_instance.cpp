#include "Common/single_instance.h"

#include <atomic>

#include "platform/named_process_mutex.h"

namespace {

std::atomic<platform::NamedProcessMutex*> g_mutex{nullptr};

}  // namespace

std::wstring SingleInstanceMutexName(int downloaderId) {
  return L"QRB_Downloader_" + std::to_wstring(downloaderId);
}

bool AcquireSingleInstanceMutex(int downloaderId) {
  bool alreadyExists = false;
  auto mutex = platform::NamedProcessMutex::Create(SingleInstanceMutexName(downloaderId), &alreadyExists);
  if (!mutex || !mutex->owned()) return !alreadyExists;
  delete g_mutex.exchange(mutex.release());
  return true;
}

void ReleaseSingleInstanceMutex() {
  std::unique_ptr<platform::NamedProcessMutex> mutex(g_mutex.exchange(nullptr));
  if (mutex) mutex->Release();
}
