#include "weblog/web_log.h"

#include <easylogging++.h>

#include <filesystem>
#include <vector>

#include "config/endpoints.h"
#include "platform/system_facts.h"
#include "platform/utf8.h"
#include "weblog/geolocation.h"
#include "weblog/guid.h"
#include "weblog/machine_record.h"
#include "weblog/working_files.h"

namespace {

constexpr int kServiceAttempts = 3;
constexpr int kGeolocationRetries = 4;
constexpr char kNewUserId[] = "1001";

// The request headers of the Windows program's WinINet GET. Plain constants:
// the usage reporter's thread may still send while static objects are being
// destroyed at exit.
constexpr const char* kWinInetHeaders[] = {
    "Accept: */*", "Accept-Language: zh-cn", "Accept-Encoding: gzip, deflate",
    "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0; MyIE2; .NET CLR 1.1.4322)",
    "Pragma: no-cache"};

std::wstring CurrentDirectory() {
  std::error_code error;
  const std::filesystem::path current = std::filesystem::current_path(error);
  return error ? std::wstring() : platform::FromUtf8(current.string());
}

std::string Trimmed(const std::string& text) {
  const char* blanks = " \t\r\n";
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) + 1 - first);
}

}  // namespace

WebLog::Settings WebLog::DefaultSettings() {
  Settings settings;
  // WinINet's connect and receive time-outs; the total bounds a server that
  // trickles.
  settings.get.connectTimeout = std::chrono::milliseconds(6000);
  settings.get.stallTimeout = std::chrono::seconds(6);
  return settings;
}

WebLog::WebLog(Settings settings)
    : baseUrl_(GetEndpoints().logService),
      creationTick_(static_cast<std::uint32_t>(platform::Facts().TickCount())),
      workingDirectory_(CurrentDirectory()),
      httpClient_(std::move(settings.post)),
      getClient_(std::move(settings.get)) {}

WebLog::~WebLog() = default;

int WebLog::Fetch(const std::string& url, std::string* answer) {
  CurlHttpClient::Response response;
  const std::vector<std::string> headers(std::begin(kWinInetHeaders), std::end(kWinInetHeaders));
  if (getClient_.Get(url, headers, &response) != 0 || response.status != 200) return -1;
  *answer = std::move(response.text);
  return 0;
}

std::int32_t WebLog::GetUserInfo(const char** guid, const char** userId) {
  DetermineBaseUrl();
  if (QueryUser() == -1) CreateMachineRecord();
  if (guid) *guid = guid_.c_str();
  if (userId) *userId = userId_.c_str();
  LOG(INFO) << " web log: guid \"" << guid_ << "\", user id \"" << userId_ << "\"";
  return 0;
}

void WebLog::DetermineBaseUrl() {
  const std::string url = GetEndpoints().baseUrlFileSite + "/downloads/service/softwarelog.txt";
  std::string answer;
  for (int attempt = 0; attempt < kServiceAttempts; ++attempt) {
    if (Fetch(url, &answer) != 0) continue;
    // The file is edited by hand; a line end after the address is no part of it.
    baseUrl_ =
        answer.find("http") != std::string::npos ? Trimmed(answer) : GetEndpoints().logService;
    return;
  }
}

int WebLog::QueryUser() {
  const std::optional<MachineRecord> record = ReadMachineRecord();
  if (!record) return -1;
  const std::string url = baseUrl_ + "/QueryUser?guid=" + record->guid;
  std::string answer;
  bool answered = false;
  for (int attempt = 0; attempt < kServiceAttempts && !answered; ++attempt) {
    answered = Fetch(url, &answer) == 0;
  }
  if (!answered) return -2;
  guid_ = record->guid;
  if (!answer.empty()) {
    userId_ = answer;
    return 0;
  }
  userId_ = record->userId;
  return -1;
}

void WebLog::CreateMachineRecord() {
  if (guid_.empty()) {
    if (const std::optional<Guid> guid = CreateGuid()) guid_ = FormatGuid(*guid);
  }
  if (outIp_.empty() || location_.empty()) ResolveLocation();
  userId_ = kNewUserId;
  if (guid_.empty() || !WriteMachineRecord({guid_, userId_})) {
    LOG(INFO) << " web log: the machine record was not written";
  }
}

void WebLog::ResolveLocation() {
  const std::string url = GetEndpoints().geolocation + "/csv";
  std::string answer;
  if (Fetch(url, &answer) != 0 || answer.empty()) return;
  for (int retry = 0; retry < kGeolocationRetries && answer.find("success") == std::string::npos;
       ++retry) {
    Fetch(url, &answer);
  }
  if (const std::optional<Geolocation> found = ParseGeolocationCsv(answer)) {
    location_ = found->country;
    city_ = found->city;
    outIp_ = found->ip;
  }
}

void WebLog::ApplyProxyFile() {
  std::string proxy = ReadProxySetting(workingDirectory_);
  if (!proxy.empty()) httpClient_.SetProxy(std::move(proxy));
}
