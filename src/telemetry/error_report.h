#pragma once
// Exception reports of the install flow: a form-encoded POST to the
// error-report service for too many redirects and for failed package
// verification. A report is sent once; its outcome is only logged.

#include <string>

#include "telemetry/flow_error_codes.h"

namespace telemetry {

// What a report says about the attempt.
struct ErrorReportContext {
  int downloaderId = 0;
  int sourceIndicator = 0;  // the configuration's loadSource
  std::string queryUrl;     // the downloader information query last built, or ""
  std::string packageUrl;   // the package URL in use
};

// The report bodies keep the Windows buffers' limits (2047 and 1023 bytes
// of text); an overlong query URL is shortened first.
std::string RedirectReportBody(const ErrorReportContext& context);
// For kMd5Mismatch, kSignatureInvalid and kMd5AndSignatureFailed; "" for
// any other error.
std::string VerificationReportBody(FlowError error, const ErrorReportContext& context);

// "/api/exception/send" on the update server in the test environment, on
// the product-alert service otherwise.
std::string ErrorReportUrl(bool testEnvironment);

// Posts `body` to ErrorReportUrl(TestEnv()) and logs the answer as
// " Send error report<reportNumber>, ..."; the client's result.
int PostErrorReport(const std::string& body, int reportNumber);

}  // namespace telemetry
