#pragma once
// A CSingleUserLog of its own for one test, sending through a FakeWebLog,
// with telemetry on whatever the settings file beside the test says.

#include <cstdint>
#include <memory>

#include "fake_web_log.h"
#include "telemetry/SingleUserLog.h"
#include "telemetry/user_log_identity.h"

namespace test {

inline telemetry::UserLogIdentity TestIdentity() {
  telemetry::UserLogIdentity identity;
  identity.toolsVersion = "1.0.0.1";
  identity.clickId = "k9Xq2";
  identity.osDescription = "Debian GNU/Linux 12 64bit";
  identity.systemLanguage = "German";
  identity.systemCountry = "Austria";
  return identity;
}

struct UserLogHarnessOptions {
  bool withWebLog = true;
  std::uint32_t exitWaitMs = CSingleUserLog::kExitWaitMs;
  bool answerUserInfo = true;
};

class UserLogHarness {
 public:
  explicit UserLogHarness(UserLogHarnessOptions options = {}) {
    record->answerUserInfo = options.answerUserInfo;  // before the sender asks
    CSingleUserLog::Collaborators collaborators;
    if (options.withWebLog) collaborators.webLog = std::make_unique<FakeWebLog>(record);
    collaborators.identity = TestIdentity();
    collaborators.autoRun = [] { return false; };
    collaborators.exitWaitMs = options.exitWaitMs;
    log = std::make_unique<CSingleUserLog>(std::move(collaborators));
  }
  // No sender left running after a test.
  ~UserLogHarness() { log->WaitThreadForExit(); }
  UserLogHarness(const UserLogHarness&) = delete;
  UserLogHarness& operator=(const UserLogHarness&) = delete;

  // The sender has sent everything queued before this returns.
  void Drain() { log->WaitThreadForExit(); }

  std::shared_ptr<FakeWebLog::Record> record = std::make_shared<FakeWebLog::Record>();
  std::unique_ptr<CSingleUserLog> log;
};

}  // namespace test
