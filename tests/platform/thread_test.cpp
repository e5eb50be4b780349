#include "platform/thread.h"

#include <gtest/gtest.h>

#include "platform/manual_reset_event.h"

namespace {

using platform::ManualResetEvent;
using platform::Thread;

TEST(Thread, JoinTimesOutWhileTheBodyRunsAndSucceedsAfter) {
  auto release = ManualResetEvent::Open(L"", false);
  Thread thread;
  EXPECT_FALSE(thread.IsStarted());
  EXPECT_FALSE(thread.Join(0));  // nothing to wait for
  ASSERT_TRUE(thread.Start([release] { release->Wait(platform::kInfinite); }));
  EXPECT_FALSE(thread.Start([] {}));
  EXPECT_TRUE(thread.IsStarted());
  EXPECT_TRUE(thread.IsRunning());
  EXPECT_FALSE(thread.Join(0));
  EXPECT_FALSE(thread.Join(50));
  EXPECT_TRUE(thread.IsRunning());

  release->Set();
  EXPECT_TRUE(thread.Join(platform::kInfinite));
  EXPECT_FALSE(thread.IsRunning());
  EXPECT_TRUE(thread.Join(0));  // still ended
}

TEST(Thread, BodyEffectsAreVisibleAfterJoin) {
  int result = 0;
  Thread thread;
  ASSERT_TRUE(thread.Start([&result] { result = 42; }));
  ASSERT_TRUE(thread.Join(10000));
  EXPECT_EQ(result, 42);
}

TEST(Thread, DestroyingARunningThreadDetachesIt) {
  auto release = ManualResetEvent::Open(L"", false);
  auto finished = ManualResetEvent::Open(L"", false);
  {
    Thread thread;
    ASSERT_TRUE(thread.Start([release, finished] {
      release->Wait(platform::kInfinite);
      finished->Set();
    }));
  }
  release->Set();
  EXPECT_TRUE(finished->Wait(10000));
}

TEST(Thread, DestroyingAnEndedUnjoinedThreadJoinsIt) {
  Thread thread;
  ASSERT_TRUE(thread.Start([] {}));
  while (thread.IsRunning()) std::this_thread::yield();
}

}  // namespace
