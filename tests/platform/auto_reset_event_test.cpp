#include "platform/auto_reset_event.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace platform {
namespace {

TEST(AutoResetEventTest, ASignalIsKeptUntilOneWaitUsesIt) {
  AutoResetEvent event;
  EXPECT_FALSE(event.Wait(0));
  event.Set();
  event.Set();  // signals do not add up
  EXPECT_TRUE(event.Wait(0));
  EXPECT_FALSE(event.Wait(10));
}

TEST(AutoResetEventTest, EachSetReleasesOneWaiter) {
  AutoResetEvent event;
  std::atomic<int> released = 0;
  std::thread first([&] { released += event.Wait(10000) ? 1 : 0; });
  std::thread second([&] { released += event.Wait(10000) ? 1 : 0; });
  event.Set();
  while (released.load() == 0) std::this_thread::yield();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(released.load(), 1);
  event.Set();
  first.join();
  second.join();
  EXPECT_EQ(released.load(), 2);
}

}  // namespace
}  // namespace platform
