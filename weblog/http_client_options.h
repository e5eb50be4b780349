#pragma once
// How a CurlHttpClient runs its transfers.

#include <atomic>
#include <chrono>
#include <string>

#include "weblog/library_log.h"

struct HttpClientOptions {
  std::chrono::milliseconds connectTimeout{30000};
  std::chrono::milliseconds totalTimeout{40000};  // 0: no limit
  // Gives up when under one byte per second arrives for this long; 0: never.
  std::chrono::seconds stallTimeout{0};
  std::wstring logFolder = LibraryLog::DefaultFolder();
  // While it is true no transfer starts and running ones stop with
  // CURLE_ABORTED_BY_CALLBACK. Not owned; it must outlive the client.
  const std::atomic<bool>* cancel = nullptr;
};
