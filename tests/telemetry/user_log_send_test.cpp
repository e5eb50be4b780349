// Queued and immediate sends of CSingleUserLog, their retries and failures.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>
#include <thread>

#include "fixtures/log_capture.h"
#include "platform/named_mutex.h"
#include "user_log_harness.h"

namespace {

using namespace std::chrono_literals;

std::vector<std::string> LinesStartingWith(const test::LogCapture& capture,
                                           const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& line : capture.lines()) {
    if (line.starts_with(prefix)) found.push_back(line);
  }
  return found;
}

struct SendCase {
  const char* what;
  bool ga4;  // else funnel
  std::function<int(CSingleUserLog&, bool bWait)> send;
  const char* queueFailure;
  const char* immediateFailure;
};

const SendCase kSendCases[] = {
    {"GA4 event", true,
     [](CSingleUserLog& log, bool bWait) {
       return log.AddUserLog("Download", "1.Launch", "", bWait);
     },
     "send ga4 fail in ga4 queue, retry is max, retcode = 253, Download###1.Launch",
     "send ga4 fail, bWait = true, retry is max, retcode = 253, Download###1.Launch"},
    {"funnel step", false,
     [](CSingleUserLog& log, bool bWait) {
       return log.AddUserLog_funnel("Keypoint", "null", 0, "CorePublicModule", "Start", "null",
                                    bWait);
     },
     "send funnel fail in funnel queue, retry is max, retcode = 253, ###",
     "send funnel fail, bWait = true, retry is max, retcode = 253, CorePublicModule###Start"},
    {"funnel with free keys", false,
     [](CSingleUserLog& log, bool bWait) {
       return log.AddUserLog_funnelEx("StartDownloader", "PrivacyAgreementPopup",
                                      "PrivacyAgreementPopupType", "Agree and install", bWait);
     },
     "send funnel fail in funnel queue, retry is max, retcode = 253, ###",
     "send funnel fail, bWait = true, retry is max, retcode = 253, "
     "StartDownloader###PrivacyAgreementPopup"},
};

std::vector<std::string> Sent(const test::FakeWebLog::Record& record, bool ga4) {
  return ga4 ? record.ga4Queries : record.funnelBodies;
}

TEST(UserLogSend, QueuedEventThatKeepsFailingIsTriedFourTimesThenDropped) {
  for (const SendCase& c : kSendCases) {
    test::LogCapture capture;
    test::UserLogHarness harness;
    harness.record->ga4Result = 253;
    harness.record->funnelResult = 253;
    EXPECT_EQ(c.send(*harness.log, false), 0) << c.what;
    harness.Drain();
    const std::vector<std::string> sent = Sent(*harness.record, c.ga4);
    ASSERT_EQ(sent.size(), 4u) << c.what;
    for (const std::string& text : sent) EXPECT_EQ(text, sent.front()) << c.what;
    EXPECT_EQ(LinesStartingWith(capture, "send "),
              (std::vector<std::string>{c.queueFailure, c.queueFailure}))
        << c.what;
  }
}

TEST(UserLogSend, QueuedEventThatRecoversIsSentWithoutFailureLines) {
  test::LogCapture capture;
  test::UserLogHarness harness;
  harness.record->ga4Result = 253;
  harness.record->Hold();
  harness.log->AddUserLog("Download", "1.Launch", "");
  ASSERT_TRUE(harness.record->WaitFor([&] { return harness.record->sendsHeld == 1; }));
  {
    std::lock_guard lock(harness.record->mutex);
    harness.record->ga4Result = 0;  // the first attempt still fails
  }
  harness.record->Release();
  harness.Drain();
  EXPECT_EQ(harness.record->ga4Queries.size(), 2u);
  EXPECT_TRUE(LinesStartingWith(capture, "send ").empty());
}

TEST(UserLogSend, ImmediateSendTriesThreeTimesAndReturnsTheLastFailure) {
  for (const SendCase& c : kSendCases) {
    for (const int result : {0, 253}) {
      test::LogCapture capture;
      test::UserLogHarness harness;
      harness.record->ga4Result = result;
      harness.record->funnelResult = result;
      EXPECT_EQ(c.send(*harness.log, true), result) << c.what;
      // Sent on the caller's thread: nothing is left for the sender.
      EXPECT_EQ(Sent(*harness.record, c.ga4).size(), result == 0 ? 1u : 3u) << c.what;
      const std::vector<std::string> expectedLines =
          result == 0 ? std::vector<std::string>{} : std::vector<std::string>{c.immediateFailure};
      EXPECT_EQ(LinesStartingWith(capture, "send "), expectedLines) << c.what;
    }
  }
}

TEST(UserLogSend, WithoutWebLogImmediateSendsFailAndQueuedOnesAreDropped) {
  for (const SendCase& c : kSendCases) {
    test::UserLogHarness harness({.withWebLog = false});
    EXPECT_EQ(c.send(*harness.log, true), CSingleUserLog::kNoWebLog) << c.what;
    EXPECT_EQ(c.send(*harness.log, false), 0) << c.what;
    harness.Drain();
  }
}

TEST(UserLogSend, NullTextsReadAsEmpty) {
  test::UserLogHarness harness;
  EXPECT_EQ(harness.log->AddUserLog(nullptr, nullptr, nullptr, true), 0);
  ASSERT_EQ(harness.record->ga4Queries.size(), 1u);
  EXPECT_NE(harness.record->ga4Queries[0].find("&ep.cv_category=&ep.cv_action=&ep.cv_label=&en=&"),
            std::string::npos);
}

TEST(UserLogSend, EventIsDroppedWhenItsQueueStaysLocked) {
  test::UserLogHarness harness;
  const auto lock = platform::NamedMutex::Open(L"UserLogGA4Mutex");
  ASSERT_TRUE(lock->Lock(0));
  // Another thread: the named lock lets its owner in again.
  EXPECT_EQ(std::async(std::launch::async,
                       [&] { return harness.log->AddUserLog("Other", "SetPath", ""); })
                .get(),
            0);
  lock->Unlock();
  harness.Drain();
  EXPECT_TRUE(harness.record->ga4Queries.empty());
}

TEST(UserLogSender, ResolvesTheMachineIdentityBeforeSending) {
  for (const bool answers : {true, false}) {
    test::UserLogHarness harness({.answerUserInfo = answers});
    harness.log->AddUserLog("Download", "1.Launch", "");
    harness.Drain();
    EXPECT_EQ(harness.record->userInfoCalls, answers ? 1 : 3);
    EXPECT_EQ(harness.record->ga4Queries.size(), 1u);
  }
}

TEST(UserLogSender, ExitWaitIsBoundedAndQueuingNeverWaitsForTheCollector) {
  auto harness =
      std::make_unique<test::UserLogHarness>(test::UserLogHarnessOptions{.exitWaitMs = 300});
  const std::shared_ptr<test::FakeWebLog::Record> record = harness->record;
  record->Hold();
  EXPECT_EQ(harness->log->AddUserLog("Download", "2.DownStart", ""), 0);
  ASSERT_TRUE(record->WaitFor([&] { return record->sendsHeld == 1; }));

  // The collector hangs: a producer still gets through, and the orderly
  // stop gives up after its bound.
  auto queued = std::async(std::launch::async, [&] {
    return harness->log->AddUserLog_funnelEx("Download", "SliceDownloading", "", "");
  });
  ASSERT_EQ(queued.wait_for(10s), std::future_status::ready);
  EXPECT_EQ(queued.get(), 0);
  auto exit = std::async(std::launch::async, [&] { return harness->log->WaitThreadForExit(); });
  ASSERT_EQ(exit.wait_for(10s), std::future_status::ready);
  EXPECT_TRUE(exit.get());

  // Once the collector answers, the sender finishes and lets go of the
  // web log object even though its owner is gone.
  harness.reset();
  record->Release();
  EXPECT_TRUE(record->WaitFor([&] { return record->destroyed; }));
  EXPECT_EQ(record->ga4Queries.size(), 1u);
  EXPECT_EQ(record->funnelBodies.size(), 1u);
}

TEST(UserLogCache, ContentLengthsOfNonEmptyUrlsWithNonZeroLengths) {
  test::UserLogHarness harness;
  CSingleUserLog& log = *harness.log;
  EXPECT_EQ(log.GetUrlContentLength("https://dl.example/a.exe"), 0);
  log.SetUrlContentLength("https://dl.example/a.exe", 5368709120);
  log.SetUrlContentLength("https://dl.example/b.exe", 0);
  log.SetUrlContentLength("", 7);
  EXPECT_EQ(log.GetUrlContentLength("https://dl.example/a.exe"), 5368709120);
  EXPECT_EQ(log.GetUrlContentLength("https://dl.example/b.exe"), 0);
  EXPECT_EQ(log.GetUrlContentLength(""), 0);
  // A zero does not forget a known length; a new one replaces it.
  log.SetUrlContentLength("https://dl.example/a.exe", 0);
  EXPECT_EQ(log.GetUrlContentLength("https://dl.example/a.exe"), 5368709120);
  log.SetUrlContentLength("https://dl.example/a.exe", 10);
  EXPECT_EQ(log.GetUrlContentLength("https://dl.example/a.exe"), 10);
  EXPECT_EQ(log.GetUrlContentLength("https://dl.example/A.exe"), 0);
}

}  // namespace
