// Fetching the downloader information from the update server.
#include <curl/curl.h>
#include <easylogging++.h>

#include "config/CConfigure.h"
#include "config/download_info_query.h"
#include "config/endpoints.h"
#include "download/CLibcurlTool.h"
#include "platform/system_facts.h"
#include "system/os_info.h"
#include "system/settings_file.h"
#include "telemetry/SingleUserLog.h"

namespace {

// Windows 8.1 and older get the older package. A Linux distribution's own
// version number is no Windows version, so the rule never applies here.
bool OlderThanWindows10(float osVersion) {
#ifdef _WIN32
  return osVersion < 10.0f;
#else
  (void)osVersion;
  return false;
#endif
}

}  // namespace

int CConfigure::getDownloadInfoXml(bool synchronous) {
  const std::uint64_t startTick = platform::Facts().TickCount();
  float osVersion = 0;
  const std::string osName = GetOsName(osVersion);

  const DownloadInfoQuery query = MakeDownloadInfoQuery(
      Language_id, Downloader_id, Site_id, OlderThanWindows10(osVersion), FuntionImpl::TestEnv(),
      GetEndpoints());
  queryUrl = query.url;

  std::string body;
  CURLcode result;
  {
    CLibcurlTool tool;
    result = tool.httpGet(queryUrl, body, false);
  }
  CSingleUserLog& userLog = CSingleUserLog::GetInstance();
  if (result == CURLE_COULDNT_RESOLVE_HOST) {
    userLog.AddUserLog("Other", "FlowError", "DL003");
  } else if (result == CURLE_OPERATION_TIMEDOUT) {
    userLog.AddUserLog("Other", "FlowError", "DL002");
  }
  LOG(INFO) << " GetCbsInfo New interface(" << query.flavour << "): " << result << ", "
            << body.size() << ", " << osName << ", " << osVersion;

  const auto seconds = static_cast<int>((platform::Facts().TickCount() - startTick) / 1000);
  userLog.AddUserLog("Other", synchronous ? "SyncGetCbsTime" : "AsyncGetCbsTime",
                     std::to_string(seconds).c_str());

  if (std::optional<std::string> answer = ExtractDownloaderElement(body)) answerXml = std::move(answer);
  return 1;
}
