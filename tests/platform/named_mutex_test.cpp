#include "platform/named_mutex.h"

#include <gtest/gtest.h>

#include <future>

namespace {

using platform::NamedMutex;

// Lock(timeout) as seen from another thread.
bool LockElsewhere(const std::shared_ptr<NamedMutex>& mutex, std::uint32_t timeoutMs) {
  return std::async(std::launch::async, [&] {
    const bool locked = mutex->Lock(timeoutMs);
    if (locked) mutex->Unlock();
    return locked;
  }).get();
}

TEST(NamedMutex, RecursiveForTheOwnerExclusiveForOthers) {
  auto mutex = NamedMutex::Open(L"mutex_for_downloadthread");
  ASSERT_TRUE(mutex->Lock());
  ASSERT_TRUE(mutex->Lock(0));  // recursion, not a deadlock
  EXPECT_FALSE(LockElsewhere(mutex, 50));
  mutex->Unlock();
  EXPECT_FALSE(LockElsewhere(mutex, 0));  // still held once
  mutex->Unlock();
  EXPECT_TRUE(LockElsewhere(mutex, 0));
}

TEST(NamedMutex, WaiterGetsItWhenReleased) {
  auto mutex = NamedMutex::Open(L"");
  ASSERT_TRUE(mutex->Lock());
  auto waiter = std::async(std::launch::async, [&] { return mutex->Lock(10000); });
  EXPECT_EQ(waiter.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
  mutex->Unlock();
  EXPECT_TRUE(waiter.get());
  EXPECT_FALSE(mutex->Lock(0));  // the waiter owns it now
}

TEST(NamedMutex, UnlockByANonOwnerIsIgnored) {
  auto mutex = NamedMutex::Open(L"");
  mutex->Unlock();  // not locked at all
  ASSERT_TRUE(mutex->Lock());
  std::async(std::launch::async, [&] { mutex->Unlock(); }).get();
  EXPECT_FALSE(LockElsewhere(mutex, 0));
  mutex->Unlock();
}

TEST(NamedMutex, SameNameSameMutex) {
  auto first = NamedMutex::Open(L"UserLogGA4Mutex");
  auto second = NamedMutex::Open(L"UserLogGA4Mutex");
  EXPECT_EQ(first, second);
  EXPECT_NE(NamedMutex::Open(L"userloggA4mutex"), first);  // names are case-sensitive
  EXPECT_NE(NamedMutex::Open(L""), NamedMutex::Open(L""));
}

}  // namespace
