#pragma once
// The web-log object as other programs see it: created and destroyed through
// CreateExportObj / DestroyExportObj (web_log_exports.h), called through this
// table of virtual operations. The order of the operations is the binary
// interface; new ones go at the end.

#include <cstdint>

class IWebLog {
 public:
  virtual std::int32_t AddUsageLog(std::int32_t operation, std::int32_t result,
                                   const char* resultData, std::int32_t softwareId,
                                   std::int32_t languageId, std::int32_t siteId,
                                   const char* version, const char* email, std::int32_t activityId,
                                   std::int32_t versionId) = 0;
  // Both outputs point into the object and stay valid while it lives.
  virtual std::int32_t GetUserInfo(const char** guid, const char** userId) = 0;
  // *answer points into the object until its next query.
  virtual std::int32_t QueryTools(const char** answer, std::int32_t languageId,
                                  std::int32_t softwareId) = 0;
  virtual std::int32_t QueryDownloader(const char** answer, std::int32_t languageId,
                                       std::int32_t softwareId, std::int32_t siteId) = 0;
  virtual std::int32_t ReportLog(std::int32_t softwareId, const char* email, const char* content,
                                 const char* uploadId) = 0;
  virtual std::int32_t SubmitFeedback(const char* productId, const char* userEmail,
                                      const char* content, const char* logId, const char* version,
                                      const char* subject) = 0;
  virtual std::int32_t SendGAEvent(const char* trackingId, const char* clientId,
                                   const char* category, const char* action, const char* label,
                                   const char* appName, const char* appVersion) = 0;
  virtual std::int32_t SoftDataReport(const char* jsonStr) = 0;
  virtual std::int32_t SendGA4Event(const char* query) = 0;

 protected:
  // The table has no destructor entry; DestroyExportObj deletes the object.
  ~IWebLog() = default;
};
