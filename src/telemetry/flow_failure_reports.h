#pragma once
// How the install flow reports its failures: a flow error code through the
// event log and, for redirects and verification, an exception report.

#include <optional>

#include "telemetry/SingleUserLog.h"
#include "telemetry/error_report.h"
#include "telemetry/flow_error_codes.h"

namespace telemetry {

// Queues ("Other", "FlowError", code).
void RaiseFlowError(FlowError error, CSingleUserLog& log = CSingleUserLog::GetInstance());

// A download round that did not succeed: its code, and for too many
// redirects the exception report. Nothing for kDownloadSucceeded.
void ReportDownloadRound(int result, const ErrorReportContext& context,
                         CSingleUserLog& log = CSingleUserLog::GetInstance());

// nullopt when both checks passed. `md5Passed` also holds when the MD5
// check was skipped.
std::optional<FlowError> VerificationError(bool md5Passed, bool signaturePassed);

// One code and one exception report unless both checks passed.
void ReportVerification(bool md5Passed, bool signaturePassed, const ErrorReportContext& context,
                        CSingleUserLog& log = CSingleUserLog::GetInstance());

}  // namespace telemetry
