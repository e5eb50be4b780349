#include "platform/manual_reset_event.h"

#include <gtest/gtest.h>

#include <future>

namespace {

using platform::ManualResetEvent;

TEST(ManualResetEvent, SetStaysSetUntilReset) {
  auto event = ManualResetEvent::Open(L"", false);
  EXPECT_FALSE(event->IsSet());
  EXPECT_FALSE(event->Wait(0));
  EXPECT_FALSE(event->Wait(50));
  event->Set();
  EXPECT_TRUE(event->Wait(0));
  EXPECT_TRUE(event->Wait(platform::kInfinite));  // not consumed by waiting
  event->Reset();
  EXPECT_FALSE(event->IsSet());
  EXPECT_TRUE(ManualResetEvent::Open(L"", true)->IsSet());
}

TEST(ManualResetEvent, SetWakesEveryWaiter) {
  auto event = ManualResetEvent::Open(L"", false);
  auto first = std::async(std::launch::async, [&] { return event->Wait(platform::kInfinite); });
  auto second = std::async(std::launch::async, [&] { return event->Wait(10000); });
  EXPECT_EQ(first.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
  event->Set();
  EXPECT_TRUE(first.get());
  EXPECT_TRUE(second.get());
}

TEST(ManualResetEvent, SameNameSameEventWhileHeld) {
  auto event = ManualResetEvent::Open(L"ProgressFinish100", false);
  auto again = ManualResetEvent::Open(L"ProgressFinish100", true);  // initial state ignored
  EXPECT_EQ(event, again);
  EXPECT_FALSE(again->IsSet());
  event->Set();
  EXPECT_TRUE(again->IsSet());

  event.reset();
  again.reset();
  // Nobody holds the name any more: a new event with its own initial state.
  EXPECT_FALSE(ManualResetEvent::Open(L"ProgressFinish100", false)->IsSet());
  EXPECT_NE(ManualResetEvent::Open(L"", false), ManualResetEvent::Open(L"", false));
}

}  // namespace
