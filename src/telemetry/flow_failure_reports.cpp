#include "telemetry/flow_failure_reports.h"

#include <string>

namespace telemetry {

namespace {

// The numbers of the reports' log lines.
constexpr int kRedirectReportLine = 1;
constexpr int kVerificationReportLine = 2;

}  // namespace

void RaiseFlowError(FlowError error, CSingleUserLog& log) {
  const std::string code(FlowErrorCode(error));
  log.AddUserLog("Other", "FlowError", code.c_str(), false);
}

void ReportDownloadRound(int result, const ErrorReportContext& context, CSingleUserLog& log) {
  if (result == kDownloadSucceeded) return;
  const FlowError error = FlowErrorOfDownloadResult(result);
  RaiseFlowError(error, log);
  if (error == FlowError::kTooManyRedirects) {
    PostErrorReport(RedirectReportBody(context), kRedirectReportLine);
  }
}

std::optional<FlowError> VerificationError(bool md5Passed, bool signaturePassed) {
  if (!md5Passed) {
    return signaturePassed ? FlowError::kMd5Mismatch : FlowError::kMd5AndSignatureFailed;
  }
  if (!signaturePassed) return FlowError::kSignatureInvalid;
  return std::nullopt;
}

void ReportVerification(bool md5Passed, bool signaturePassed, const ErrorReportContext& context,
                        CSingleUserLog& log) {
  const std::optional<FlowError> error = VerificationError(md5Passed, signaturePassed);
  if (!error) return;
  RaiseFlowError(*error, log);
  PostErrorReport(VerificationReportBody(*error, context), kVerificationReportLine);
}

}  // namespace telemetry
