// The firewall registration, which on Linux only reports itself.
#include <gtest/gtest.h>

#include "system/firewall.h"

namespace {

TEST(Firewall, ReportsThatNothingIsRegistered) {
  testing::internal::CaptureStdout();
  const int result = AuthorizeFirewallApplication(L"/opt/brisko/setup \u7b80 %s%n");
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Authorized application /opt/brisko/setup \xe7\xae\x80 %s%n: no firewall "
            "registration on Linux.\n");
  EXPECT_EQ(result, 0);
}

}  // namespace
