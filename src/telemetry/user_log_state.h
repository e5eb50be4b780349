#pragma once
// What CSingleUserLog shares with its sender thread. Both own it, so a
// sender still running after the bounded wait at exit finds everything it
// uses intact, the web log object included.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "platform/manual_reset_event.h"
#include "telemetry/user_log_event.h"
#include "telemetry/user_log_identity.h"
#include "telemetry/user_log_profile.h"
#include "telemetry/user_log_queue.h"
#include "telemetry/user_log_transport.h"

namespace telemetry {

// A producer waits at most this long for a queue.
constexpr std::uint32_t kQueueLockWaitMs = 200;

class UserLogState {
 public:
  // A null transport stands for a web log object that could not be made.
  UserLogState(std::unique_ptr<UserLogTransport> transport, UserLogIdentity identity);
  UserLogState(const UserLogState&) = delete;
  UserLogState& operator=(const UserLogState&) = delete;

  UserLogTransport* transport() const { return transport_.get(); }
  const UserLogIdentity& identity() const { return identity_; }
  UserLogQueue& ga4Queue() { return ga4Queue_; }
  UserLogQueue& funnelQueue() { return funnelQueue_; }

  void SetProfile(UserLogProfile profile);
  UserLogProfile profile() const;

  // The GA4 query text of a GA4 event, with the current profile.
  std::string Ga4QueryOf(const UserLogEvent& event) const;

  void RequestStop() { stop_->Set(); }
  bool StopRequested() const { return stop_->IsSet(); }
  // Sleeps up to `timeoutMs`, less when a stop is requested.
  void SleepUnlessStopped(std::uint32_t timeoutMs) { stop_->Wait(timeoutMs); }

 private:
  const std::unique_ptr<UserLogTransport> transport_;
  const UserLogIdentity identity_;
  UserLogQueue ga4Queue_{L"UserLogGA4Mutex"};
  UserLogQueue funnelQueue_{L"UserLogFunnelMutex"};
  const std::shared_ptr<platform::ManualResetEvent> stop_ =
      platform::ManualResetEvent::Open(L"", false);

  mutable std::mutex profileMutex_;
  UserLogProfile profile_;
};

}  // namespace telemetry
