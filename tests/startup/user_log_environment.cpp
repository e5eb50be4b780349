// The windows of these tests feed the process-wide event log; its sender
// must be stopped before the process exits, as start-up does, or it may
// still be inside a transfer while the libraries are torn down.
#include <gtest/gtest.h>

#include "telemetry/SingleUserLog.h"

namespace {

class UserLogEnvironment : public ::testing::Environment {
 public:
  void TearDown() override { CSingleUserLog::GetInstance().WaitThreadForExit(); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new UserLogEnvironment);

}  // namespace
