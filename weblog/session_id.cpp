#include "weblog/session_id.h"

#include <mutex>

#include "weblog/guid.h"

std::string FunnelSessionId() {
  // Reports may start on several threads at once; they must agree on one id.
  static std::mutex mutex;
  static std::string sessionId;
  std::lock_guard<std::mutex> guard(mutex);
  if (sessionId.empty()) {
    if (const std::optional<Guid> guid = CreateGuid()) sessionId = FormatSessionId(*guid);
  }
  return sessionId;
}
