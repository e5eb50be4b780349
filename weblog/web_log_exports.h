#pragma once
// The names by which other programs find the web log, in the stub's own
// dynamic symbol table and in libweblog.so: plain C names, default
// visibility.

#include <cstdint>

#include "weblog/iweb_log.h"

#define WEBLOG_EXPORT __attribute__((visibility("default")))

extern "C" {

// A new WebLog, or null when it cannot be made (memory).
WEBLOG_EXPORT IWebLog* CreateExportObj();
// Destroys an object of CreateExportObj; null is ignored.
WEBLOG_EXPORT void DestroyExportObj(IWebLog* object);
// Sends one usage record (result 1) in the background; always 0.
WEBLOG_EXPORT std::int32_t NSISLog(std::int32_t operation, std::int32_t softwareId,
                                   std::int32_t languageId, std::int32_t siteId);
}
