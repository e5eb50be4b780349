// The worker thread's hand-over: tasks given, idling and stopping, with no
// wake-up lost between the state test and the wait.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "download/CThread.h"
#include "worker_test_support.h"

namespace {

// Counts its tasks; optionally holds each one until released.
class CountingThread final : public CThread {
 public:
  explicit CountingThread(bool holdTasks = false) : hold_(holdTasks) {}
  ~CountingThread() override { endThread(); }

  int taskBusiness() override {
    std::unique_lock lock(mutex_);
    running_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return !hold_; });
    running_ = false;
    ++runs;
    return 1;
  }
  void Release() {
    std::lock_guard lock(mutex_);
    hold_ = false;
    changed_.notify_all();
  }
  bool WaitRunning() {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(20), [this] { return running_; });
  }

  std::atomic<int> runs{0};

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool hold_;
  bool running_ = false;
};

constexpr std::uint32_t kJoinMs = 20000;

TEST(WorkerThread, StartsIdleRunsEachTaskOnceAndStops) {
  CountingThread worker;
  EXPECT_EQ(worker.state(), CThread::kIdle);
  ASSERT_EQ(worker.init(), 1);
  CTask task;
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(worker.doTask(&task), 1);
    EXPECT_EQ(worker.task(), &task);
    ASSERT_TRUE(test::WaitUntil([&] { return worker.state() == CThread::kIdle; }));
    EXPECT_EQ(worker.runs, i);
  }
  worker.stop();
  EXPECT_TRUE(worker.join(kJoinMs));
  EXPECT_EQ(worker.state(), CThread::kStop);
}

// A wake-up lost between the worker's state test and its wait would leave a
// task or a stop unseen; the bounded waits then fail instead of hanging.
TEST(WorkerThread, ManyTaskAndStopCyclesLoseNoWakeUp) {
  CTask task;
  for (int cycle = 0; cycle < 200; ++cycle) {
    CountingThread worker;
    ASSERT_EQ(worker.init(), 1);
    for (int i = 1; i <= 5; ++i) {
      worker.doTask(&task);
      ASSERT_TRUE(test::WaitUntil([&] { return worker.state() == CThread::kIdle; }))
          << "cycle " << cycle << ", task " << i;
    }
    EXPECT_EQ(worker.runs, 5);
    // Stop right away, with the thread just back from its task or waiting.
    worker.stop();
    ASSERT_TRUE(worker.join(kJoinMs)) << "cycle " << cycle;
  }
}

TEST(WorkerThread, StopDuringATaskEndsTheThreadAfterIt) {
  CountingThread worker(/*holdTasks=*/true);
  ASSERT_EQ(worker.init(), 1);
  CTask task;
  worker.doTask(&task);
  ASSERT_TRUE(worker.WaitRunning());
  worker.stop();
  worker.Release();
  EXPECT_TRUE(worker.join(kJoinMs));
  EXPECT_EQ(worker.runs, 1);
  EXPECT_EQ(worker.state(), CThread::kStop);
}

TEST(WorkerThread, NeverStartedJoinsAtOnce) {
  CountingThread worker;
  EXPECT_TRUE(worker.join(0));
}

}  // namespace
