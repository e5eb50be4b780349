// stubctl fetch URL PATH [--md5 HEX] [--rounds N] [--log FILE] [--endpoints XML]
// Downloads a package exactly as the install flow does: supervised rounds
// that resume from the task-information file, then the MD5 check.
#include <easylogging++.h>

#include <fstream>
#include <iostream>
#include <iterator>

#include "commands.h"
#include "config/endpoints.h"
#include "download/CDownLoadImpl.h"
#include "download/error_code.h"
#include "platform/utf8.h"
#include "system/decimal.h"
#include "telemetry/SingleUserLog.h"

namespace stubctl {
namespace {

constexpr std::string_view kName = "fetch";
constexpr int kFlowRounds = 12;
// Where the services point when no endpoints file is given: a maker's
// download must not report to the product's analytics.
constexpr char kNowhere[] = "http://127.0.0.1:9";

struct FetchOptions {
  std::string url, path, md5, logFile, endpointsFile;
  int rounds = kFlowRounds;
};

bool ParseOptions(const Arguments& args, FetchOptions& options) {
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const bool hasValue = i + 1 < args.size();
    if (args[i] == "--md5" && hasValue) {
      options.md5 = args[++i];
    } else if (args[i] == "--rounds" && hasValue) {
      options.rounds = AtoI(args[++i]);
      if (options.rounds < 1) return false;
    } else if (args[i] == "--log" && hasValue) {
      options.logFile = args[++i];
    } else if (args[i] == "--endpoints" && hasValue) {
      options.endpointsFile = args[++i];
    } else if (args[i].starts_with("--")) {
      return false;
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 2) return false;
  options.url = positional[0];
  options.path = positional[1];
  return true;
}

void LogInto(const std::string& file) {
  el::Configurations log;
  log.setToDefault();
  log.setGlobally(el::ConfigurationType::Enabled, "true");
  log.setGlobally(el::ConfigurationType::ToFile, "true");
  log.setGlobally(el::ConfigurationType::ToStandardOutput, "false");
  log.setGlobally(el::ConfigurationType::Filename, file);
  log.setGlobally(el::ConfigurationType::Format, "%datetime %level %msg");
  el::Loggers::reconfigureAllLoggers(log);
}

bool PointEndpoints(const std::string& file) {
  if (file.empty()) {
    PointAllEndpointsAt(kNowhere);
    return true;
  }
  std::ifstream in(file, std::ios::binary);
  const std::string xml{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::string error;
  if (!in || !LoadEndpointsXml(xml, &error)) {
    ReportError(kName, "cannot use the endpoints file " + file + (error.empty() ? "" : ": " + error));
    return false;
  }
  return true;
}

int Fetch(const FetchOptions& options) {
  const std::wstring url = platform::FromUtf8(options.url);
  const std::wstring path = platform::FromUtf8(options.path);
  int result = 0;
  for (int round = 1; round <= options.rounds; ++round) {
    std::string cdnInfo;
    result = CDownLoadImpl::SuperDownloadFile(url, path, cdnInfo, 0);
    std::cout << "round " << round << ": " << result;
    if (!cdnInfo.empty()) std::cout << ' ' << cdnInfo;
    std::cout << std::endl;
    if (result == kDownloadOk) break;
  }
  if (result != kDownloadOk) return ReportError(kName, "the download did not complete");
  if (!options.md5.empty()) {
    const std::wstring md5 = platform::FromUtf8(options.md5);
    const bool matches = CDownLoadImpl::checkMD5(path, md5, md5, L"");
    std::cout << "md5: " << (matches ? "ok" : "mismatch") << std::endl;
    if (!matches) return ReportError(kName, "the package's MD5 differs from " + options.md5);
  }
  return 0;
}

}  // namespace

int FetchCommand(const Arguments& args) {
  FetchOptions options;
  if (!ParseOptions(args, options)) {
    return ReportError(kName,
                       "usage: stubctl fetch URL PATH [--md5 HEX] [--rounds N] [--log FILE] "
                       "[--endpoints XML]");
  }
  if (!PointEndpoints(options.endpointsFile)) return 1;
  if (!options.logFile.empty()) LogInto(options.logFile);

  const int exitCode = Fetch(options);
  // The event sender must be done before the static objects it uses go away.
  CSingleUserLog::GetInstance().WaitThreadForExit();
  return exitCode;
}

}  // namespace stubctl
