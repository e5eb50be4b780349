#pragma once
// The background sender behind NSISLog: one thread and one WebLog for the
// process, sending the submitted usage records in order.
//
// The thread never outlives the code it runs: the reporter is a static
// object, so unloading libweblog.so or leaving the process destroys it, and
// its destructor cancels the running transfer and joins the thread. Records
// still waiting then are dropped: exit is not held up by the network.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

class WebLog;

class UsageReporter {
 public:
  struct Record {
    std::int32_t operation;
    std::int32_t softwareId;
    std::int32_t languageId;
    std::int32_t siteId;
  };

  // Made on first use; throws when no thread can be started.
  static UsageReporter& Instance();

  UsageReporter(const UsageReporter&) = delete;
  UsageReporter& operator=(const UsageReporter&) = delete;
  ~UsageReporter();

  void Submit(const Record& record);

 private:
  UsageReporter();
  void Run();
  // GetUserInfo up to 3 times, then the usage record.
  void Send(const Record& record);

  std::atomic<bool> stopping_{false};
  std::unique_ptr<WebLog> webLog_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Record> pending_;
  std::thread thread_;
};
