#include "weblog/web_log_exports.h"

#include <easylogging++.h>

#include <exception>

#include "weblog/usage_reporter.h"
#include "weblog/web_log.h"

// No exception may cross into a C caller.

IWebLog* CreateExportObj() {
  try {
    return new WebLog();
  } catch (const std::exception& error) {
    LOG(INFO) << " web log: cannot create the object: " << error.what();
    return nullptr;
  }
}

void DestroyExportObj(IWebLog* object) { delete static_cast<WebLog*>(object); }

std::int32_t NSISLog(std::int32_t operation, std::int32_t softwareId, std::int32_t languageId,
                     std::int32_t siteId) {
  try {
    UsageReporter::Instance().Submit({operation, softwareId, languageId, siteId});
  } catch (const std::exception& error) {
    LOG(INFO) << " web log: usage record not sent: " << error.what();
  }
  return 0;
}
