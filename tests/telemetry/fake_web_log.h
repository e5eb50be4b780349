#pragma once
// A web log object for the event log's tests: it records every call, fails
// sends with a chosen code, and can hold sends until released, like a
// collector that does not answer.

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "telemetry/user_log_transport.h"

namespace test {

class FakeWebLog : public telemetry::UserLogTransport {
 public:
  // What the test sees; it outlives the fake, which the log owns.
  struct Record {
    std::mutex mutex;
    std::condition_variable changed;
    int userInfoCalls = 0;
    std::vector<std::string> ga4Queries;
    std::vector<std::string> funnelBodies;
    int ga4Result = 0;
    int funnelResult = 0;
    bool answerUserInfo = true;  // GetUserInfo sets its outputs
    bool hold = false;           // sends wait while set
    int sendsHeld = 0;
    bool destroyed = false;

    void Hold() {
      std::lock_guard lock(mutex);
      hold = true;
    }
    void Release() {
      std::lock_guard lock(mutex);
      hold = false;
      changed.notify_all();
    }
    // Waits until `done()` holds (under the lock) or `timeout` passes.
    template <typename Predicate>
    bool WaitFor(Predicate done, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
      std::unique_lock lock(mutex);
      return changed.wait_for(lock, timeout, done);
    }
  };

  explicit FakeWebLog(std::shared_ptr<Record> record) : record_(std::move(record)) {}
  ~FakeWebLog() override {
    std::lock_guard lock(record_->mutex);
    record_->destroyed = true;
    record_->changed.notify_all();
  }

  int GetUserInfo(const char** guid, const char** userId) override {
    std::lock_guard lock(record_->mutex);
    ++record_->userInfoCalls;
    if (record_->answerUserInfo) {
      *guid = guid_.c_str();
      *userId = userId_.c_str();
    }
    record_->changed.notify_all();
    return 0;
  }
  int SendGA4Event(const std::string& query) override {
    return Send(record_->ga4Queries, query, record_->ga4Result);
  }
  int SoftDataReport(const std::string& body) override {
    return Send(record_->funnelBodies, body, record_->funnelResult);
  }

 private:
  int Send(std::vector<std::string>& sent, const std::string& text, const int& result) {
    std::unique_lock lock(record_->mutex);
    const int answer = result;  // decided when the request arrives
    ++record_->sendsHeld;
    record_->changed.notify_all();
    record_->changed.wait(lock, [this] { return !record_->hold; });
    --record_->sendsHeld;
    sent.push_back(text);
    record_->changed.notify_all();
    return answer;
  }

  std::shared_ptr<Record> record_;
  std::string guid_ = "0A1B2C3D-0000-0000-0000-000000000000";
  std::string userId_ = "1001";
};

}  // namespace test
