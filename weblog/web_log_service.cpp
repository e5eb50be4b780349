// The log service operations of WebLog: usage records, queries, reports and
// feedback.
#include "config/endpoints.h"
#include "platform/system_facts.h"
#include "weblog/request_text.h"
#include "weblog/web_log.h"

namespace {

constexpr std::int32_t kUseTimeOperation = 10202;

}  // namespace

std::int32_t WebLog::AddUsageLog(std::int32_t operation, std::int32_t result,
                                 const char* resultData, std::int32_t softwareId,
                                 std::int32_t languageId, std::int32_t siteId, const char* version,
                                 const char* email, std::int32_t activityId,
                                 std::int32_t versionId) {
  if (remembered_.operation == 0) remembered_.operation = operation;
  if (remembered_.softwareId == 0) remembered_.softwareId = softwareId;
  if (remembered_.email.empty()) remembered_.email = TextOf(email);
  remembered_.lastSoftwareId = Pad8(softwareId);
  if (operation == kUseTimeOperation) {
    const auto now = static_cast<std::uint32_t>(platform::Facts().TickCount());
    useTimeSeconds_ = (now - creationTick_) / 1000;  // unsigned: survives the wrap
  }
  if (operation == 0 || softwareId == 0 || guid_.empty()) return -1;
  if (outIp_.empty() || location_.empty()) ResolveLocation();

  const std::string useTime = useTimeSeconds_ ? std::to_string(useTimeSeconds_) : std::string();
  const std::string url = baseUrl_ + "/AddUserLog?USER_ID=" + userId_ +
                          "&OP_ID=" + Pad8(operation) + "&SoftWareID=" + Pad8(softwareId) +
                          "&RegEmail=" + TextOf(email) + "&UseTime=" + useTime +
                          "&Location=" + location_ + "&City=" + city_ + "&OutIP=" + outIp_ +
                          "&LanguageId=" + Pad8(languageId) + "&Result=" + Pad8(result) +
                          "&ResultData=" + TextOf(resultData) + "&SiteID=" + Pad8(siteId) +
                          "&CurVersion=" + TextOf(version) + "&ActivityID=" + Pad8(activityId) +
                          "&VersionID=" + Pad8(versionId);
  std::string answer;
  return Fetch(url, &answer) == 0 && !answer.empty() ? 0 : -1;
}

std::string WebLog::SoftwareIdText(std::int32_t softwareId) const {
  if (softwareId == 0 && !remembered_.lastSoftwareId.empty()) return remembered_.lastSoftwareId;
  return Pad8(softwareId);
}

int WebLog::ServiceQuery(const std::string& url, const char** answer) {
  answer_.clear();
  Fetch(url, &answer_);
  if (answer) *answer = answer_.c_str();
  return answer_.empty() ? -1 : 0;
}

std::int32_t WebLog::QueryTools(const char** answer, std::int32_t languageId,
                                std::int32_t softwareId) {
  return ServiceQuery(baseUrl_ + "/QueryTools?LanguageId=" + Pad8(languageId) +
                          "&SoftWareID=" + SoftwareIdText(softwareId),
                      answer);
}

std::int32_t WebLog::QueryDownloader(const char** answer, std::int32_t languageId,
                                     std::int32_t softwareId, std::int32_t siteId) {
  return ServiceQuery(baseUrl_ + "/QueryDownloader?LanguageId=" + Pad8(languageId) +
                          "&SoftWareID=" + SoftwareIdText(softwareId) + "&SiteID=" + Pad8(siteId),
                      answer);
}

std::int32_t WebLog::ReportLog(std::int32_t softwareId, const char* email, const char* content,
                               const char* uploadId) {
  const std::string sender = email && *email ? std::string(email) : remembered_.email;
  const std::string url = baseUrl_ + "/ReportLog?USER_ID=" + userId_ +
                          "&SoftWareID=" + SoftwareIdText(softwareId) + "&Email=" + sender +
                          "&OutIP=" + outIp_ + "&Content=" + TextOf(content) +
                          "&UploadID=" + TextOf(uploadId);
  std::string answer;
  return Fetch(url, &answer) == 0 ? 0 : -1;
}

std::int32_t WebLog::SubmitFeedback(const char* productId, const char* userEmail,
                                    const char* content, const char* logId, const char* version,
                                    const char* subject) {
  const std::string body = "product_id=" + TextOf(productId) + "&useremail=" + TextOf(userEmail) +
                           "&content=" + TextOf(content) + "&log_id=" + TextOf(logId) +
                           "&version=" + TextOf(version) + "&subject=" + TextOf(subject);
  CurlHttpClient::Response response;
  const int code = httpClient_.Post(GetEndpoints().supportService + "/api/v1/ticket/feedback",
                                    kFormContentType, body, &response);
  return code == 0 && response.text.find("status\":200") != std::string::npos ? 0 : -1;
}
