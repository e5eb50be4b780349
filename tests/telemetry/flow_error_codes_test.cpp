#include "telemetry/flow_error_codes.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "telemetry/flow_failure_reports.h"

namespace {

using telemetry::FlowError;
using telemetry::FlowErrorCode;
using telemetry::FlowErrorOfDownloadResult;
using telemetry::kFlowErrors;

TEST(FlowErrorCodes, TheTableHoldsEachCodeOnceAndNoneOfTheUnusedNumbers) {
  std::set<std::string_view> codes;
  std::set<FlowError> errors;
  for (const telemetry::FlowErrorEntry& entry : kFlowErrors) {
    EXPECT_EQ(entry.code.size(), 5u) << entry.code;
    EXPECT_TRUE(entry.code.starts_with("DL")) << entry.code;
    EXPECT_TRUE(codes.insert(entry.code).second) << entry.code;
    EXPECT_TRUE(errors.insert(entry.error).second) << entry.code;
    EXPECT_EQ(FlowErrorCode(entry.error), entry.code);
  }
  EXPECT_EQ(codes.size(), 23u);
  for (const char* unused :
       {"DL001", "DL004", "DL005", "DL006", "DL007", "DL018", "DL020", "DL021"}) {
    EXPECT_EQ(codes.count(unused), 0u) << unused;
  }
  EXPECT_EQ(*codes.begin(), "DL002");
  EXPECT_EQ(*codes.rbegin(), "DL031");
}

TEST(FlowErrorCodes, DownloadRoundResultsMapOntoTheirCodes) {
  struct Case {
    int result;
    const char* code;
  };
  const Case cases[] = {
      {9, "DL010"}, {10, "DL011"}, {6, "DL012"},  {13, "DL022"}, {7, "DL027"},
      {8, "DL028"}, {11, "DL029"}, {12, "DL030"}, {15, "DL031"}, {14, "DL017"},
      {0, "DL017"}, {-1, "DL017"}, {2, "DL017"},  {16, "DL017"}, {1000, "DL017"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FlowErrorCode(FlowErrorOfDownloadResult(c.result)), c.code) << c.result;
  }
}

TEST(FlowErrorCodes, VerificationResultsGiveOneCodeUnlessBothPassed) {
  struct Case {
    bool md5Passed;
    bool signaturePassed;
    const char* code;  // nullptr: nothing to report
  };
  const Case cases[] = {
      {true, true, nullptr},
      {false, true, "DL013"},
      {true, false, "DL014"},
      {false, false, "DL015"},
  };
  for (const Case& c : cases) {
    const std::optional<FlowError> error =
        telemetry::VerificationError(c.md5Passed, c.signaturePassed);
    if (!c.code) {
      EXPECT_FALSE(error);
      continue;
    }
    ASSERT_TRUE(error);
    EXPECT_EQ(FlowErrorCode(*error), c.code);
  }
}

}  // namespace
