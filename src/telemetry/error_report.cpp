#include "telemetry/error_report.h"

#include <easylogging++.h>

#include "config/endpoints.h"
#include "download/CLibcurlTool.h"
#include "system/settings_file.h"
#include "telemetry/bounded_text.h"

namespace telemetry {

namespace {

constexpr std::size_t kRedirectReportMaxBytes = 2047;
constexpr std::size_t kVerificationReportMaxBytes = 1023;

struct VerificationReport {
  FlowError error;
  const char* exceptionCode;  // the source indicator follows it
};

constexpr VerificationReport kVerificationReports[] = {
    {FlowError::kMd5Mismatch, "MD5_Check_Fail_Cfg"},
    {FlowError::kSignatureInvalid, "Hash_Check_Fail_Cfg"},
    {FlowError::kMd5AndSignatureFailed, "MD5_Hash_Check_Fail_Cfg"},
};

// "pid=%d&type=2&exception_code=<code>&other=<query URL>,<package URL>"
std::string ReportBody(int downloaderId, const std::string& exceptionCode,
                       const ErrorReportContext& context, std::size_t maxBytes) {
  const std::string head =
      "pid=" + std::to_string(downloaderId) + "&type=2&exception_code=" + exceptionCode + "&other=";
  return ComposeWithin(head, context.queryUrl, "," + context.packageUrl, maxBytes);
}

}  // namespace

std::string RedirectReportBody(const ErrorReportContext& context) {
  return ReportBody(context.downloaderId, "Url_Too_Many_Redirects", context,
                    kRedirectReportMaxBytes);
}

std::string VerificationReportBody(FlowError error, const ErrorReportContext& context) {
  for (const VerificationReport& report : kVerificationReports) {
    if (report.error != error) continue;
    return ReportBody(context.downloaderId,
                      report.exceptionCode + std::to_string(context.sourceIndicator), context,
                      kVerificationReportMaxBytes);
  }
  return "";
}

std::string ErrorReportUrl(bool testEnvironment) {
  const Endpoints endpoints = GetEndpoints();
  return (testEnvironment ? endpoints.updateServer : endpoints.productAlert) +
         "/api/exception/send";
}

int PostErrorReport(const std::string& body, int reportNumber) {
  std::string response;
  CLibcurlTool client;
  const int result = client.HttpPost(ErrorReportUrl(FuntionImpl::TestEnv()), body, response);
  LOG(INFO) << " Send error report" << reportNumber << ", response is " << response << ", return "
            << result;
  return result;
}

}  // namespace telemetry
