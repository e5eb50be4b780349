#pragma once
// The flow error codes: why a step of the installation failed, as the
// analytics report it (the label of the GA4 event "Other" / "FlowError").
// Numbers missing from the table (DL001, DL004..DL007, DL018, DL020, DL021)
// are never sent.

#include <string_view>

namespace telemetry {

enum class FlowError {
  kQueryTimedOut,          // downloader information query: libcurl 28
  kQueryHostNotResolved,   // the same query: libcurl 6
  kNoFreeSpace,            // download or installation drive too full
  kInstallFolderMissing,   // the installation folder is gone after creating it
  kNoNetwork,              // download result 9
  kNoProgress,             // download result 10
  kNoContentLength,        // download result 6
  kTooManyRedirects,       // download result 13, with an error report
  kPackageNotOpened,       // download result 7
  kNoWorkerThread,         // download result 8
  kCdnFailed,              // download result 11
  kDownloadTooShort,       // download result 12
  kPackageMissing,         // download result 15
  kDownloadFailed,         // any other download result but success
  kMd5Mismatch,            // signature valid, with an error report
  kSignatureInvalid,       // MD5 passed or skipped, with an error report
  kMd5AndSignatureFailed,  // with an error report
  kInstallTimedOut,        // the package's installer outlived the time-out
  kEmptyUrl,               // no usable package URL
  kAppRunning,             // the product runs: the attempt is refused
  kLengthChanged,          // resume: the probed length differs from the stored one
  kTasksNotContiguous,     // resume: the stored tasks leave gaps
  kLaunchFailed,           // the installed product could not be started
};

// Download round results (EnumErrorCode) the table names.
inline constexpr int kDownloadSucceeded = 1;
// Marks entries raised by something other than a download round, and the
// entry for every download result the table does not name.
inline constexpr int kNotADownloadResult = 0;
inline constexpr int kAnyOtherDownloadResult = -1;

struct FlowErrorEntry {
  FlowError error;
  std::string_view code;
  int downloadResult;
};

inline constexpr FlowErrorEntry kFlowErrors[] = {
    {FlowError::kQueryTimedOut, "DL002", kNotADownloadResult},
    {FlowError::kQueryHostNotResolved, "DL003", kNotADownloadResult},
    {FlowError::kNoFreeSpace, "DL008", kNotADownloadResult},
    {FlowError::kInstallFolderMissing, "DL009", kNotADownloadResult},
    {FlowError::kNoNetwork, "DL010", 9},
    {FlowError::kNoProgress, "DL011", 10},
    {FlowError::kNoContentLength, "DL012", 6},
    {FlowError::kTooManyRedirects, "DL022", 13},
    {FlowError::kPackageNotOpened, "DL027", 7},
    {FlowError::kNoWorkerThread, "DL028", 8},
    {FlowError::kCdnFailed, "DL029", 11},
    {FlowError::kDownloadTooShort, "DL030", 12},
    {FlowError::kPackageMissing, "DL031", 15},
    {FlowError::kDownloadFailed, "DL017", kAnyOtherDownloadResult},
    {FlowError::kMd5Mismatch, "DL013", kNotADownloadResult},
    {FlowError::kSignatureInvalid, "DL014", kNotADownloadResult},
    {FlowError::kMd5AndSignatureFailed, "DL015", kNotADownloadResult},
    {FlowError::kInstallTimedOut, "DL016", kNotADownloadResult},
    {FlowError::kEmptyUrl, "DL023", kNotADownloadResult},
    {FlowError::kAppRunning, "DL024", kNotADownloadResult},
    {FlowError::kLengthChanged, "DL025", kNotADownloadResult},
    {FlowError::kTasksNotContiguous, "DL026", kNotADownloadResult},
    {FlowError::kLaunchFailed, "DL019", kNotADownloadResult},
};

constexpr std::string_view FlowErrorCode(FlowError error) {
  for (const FlowErrorEntry& entry : kFlowErrors) {
    if (entry.error == error) return entry.code;
  }
  return {};
}

// The error of a failed download round; kDownloadFailed for results the
// table does not name. Not meant for kDownloadSucceeded.
constexpr FlowError FlowErrorOfDownloadResult(int result) {
  for (const FlowErrorEntry& entry : kFlowErrors) {
    if (entry.downloadResult == result && result > kNotADownloadResult) return entry.error;
  }
  return FlowError::kDownloadFailed;
}

}  // namespace telemetry
