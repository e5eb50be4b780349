#include "telemetry/user_log_manager_thread.h"

#include <easylogging++.h>

#include <optional>

namespace telemetry {

namespace {

constexpr int kIdentityAttempts = 3;
constexpr std::uint32_t kIdlePollMs = 500;
// Requeues after the first attempt: four attempts in all.
constexpr int kQueueRetries = 3;

void ResolveIdentity(UserLogTransport& transport) {
  for (int attempt = 0; attempt < kIdentityAttempts; ++attempt) {
    const char* guid = nullptr;
    const char* userId = nullptr;
    transport.GetUserInfo(&guid, &userId);
    if (guid || userId) return;
  }
}

// One attempt for the front event of `queue`. The failure line is written
// after the last two attempts, as the Windows program did.
template <typename Send>
void SendFront(UserLogQueue& queue, UserLogTransport* transport, Send send,
               const char* failureLine) {
  std::optional<UserLogEvent> event = queue.PopFront(kQueueLockWaitMs);
  if (!event || !transport) return;
  const int result = send(*transport, *event);
  if (result == 0) return;
  if (event->retryCount < kQueueRetries) {
    ++event->retryCount;
    if (!queue.PushBack(*event, kQueueLockWaitMs)) return;
  }
  if (event->retryCount == kQueueRetries) {
    LOG(INFO) << failureLine << result << ", " << event->category << "###" << event->action;
  }
}

}  // namespace

void UserLogManagerThread(UserLogState& state) {
  if (UserLogTransport* transport = state.transport()) ResolveIdentity(*transport);
  for (;;) {
    if (state.ga4Queue().Empty() && state.funnelQueue().Empty()) {
      if (state.StopRequested()) return;
      state.SleepUnlessStopped(kIdlePollMs);
      continue;
    }
    SendFront(
        state.ga4Queue(), state.transport(),
        [&state](UserLogTransport& transport, const UserLogEvent& event) {
          return transport.SendGA4Event(state.Ga4QueryOf(event));
        },
        "send ga4 fail in ga4 queue, retry is max, retcode = ");
    SendFront(
        state.funnelQueue(), state.transport(),
        [](UserLogTransport& transport, const UserLogEvent& event) {
          return transport.SoftDataReport(event.body);
        },
        "send funnel fail in funnel queue, retry is max, retcode = ");
  }
}

}  // namespace telemetry
