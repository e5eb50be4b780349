#include "platform/thread.h"

#include <easylogging++.h>

#include <condition_variable>
#include <mutex>
#include <system_error>

namespace platform {

struct Thread::Completion {
  void MarkDone() {
    std::lock_guard lock(mutex);
    done = true;
    changed.notify_all();
  }
  bool IsDone() {
    std::lock_guard lock(mutex);
    return done;
  }

  std::mutex mutex;
  std::condition_variable changed;
  bool done = false;
};

Thread::Thread() = default;

Thread::~Thread() {
  if (!thread_.joinable()) return;
  if (completion_->IsDone()) {
    thread_.join();
  } else {
    thread_.detach();
  }
}

bool Thread::Start(std::function<void()> body) {
  if (completion_) return false;
  auto completion = std::make_shared<Completion>();
  try {
    thread_ = std::thread([completion, body = std::move(body)] {
      body();
      completion->MarkDone();
    });
  } catch (const std::system_error& error) {
    LOG(ERROR) << "Thread: cannot start: " << error.what();
    return false;
  }
  completion_ = std::move(completion);
  return true;
}

bool Thread::Join(std::uint32_t timeoutMs) {
  if (!completion_) return false;
  {
    std::unique_lock lock(completion_->mutex);
    if (!WaitWithTimeout(completion_->changed, lock, timeoutMs,
                         [this] { return completion_->done; })) {
      return false;
    }
  }
  if (thread_.joinable()) thread_.join();
  return true;
}

bool Thread::IsStarted() const { return completion_ != nullptr; }

bool Thread::IsRunning() const { return completion_ && !completion_->IsDone(); }

}  // namespace platform
