// The header callback of the ranged download: collects the CDN status and
// stops a transfer whose body would not belong at the task's position.
#include <easylogging++.h>

#include <algorithm>
#include <charconv>
#include <string_view>

#include "download/CLibcurlTool.h"
#include "download/header_text.h"

namespace {

using header_text::FindName;
using header_text::LeadingNumber;
using header_text::Value;

constexpr std::size_t kNotFound = std::string_view::npos;

// The CDN's data-centre code comes first, the cache status after it, in
// whichever order the lines arrive. A status equal to the probe's says
// nothing new.
void AddCdnStatus(CTask& task, std::string_view value, bool inFront) {
  if (value.empty()) return;
  if (task.cdnStatus.empty()) {
    task.cdnStatus = value;
    return;
  }
  std::string combined = inFront ? std::string(value) + "/" + task.cdnStatus
                                 : task.cdnStatus + "/" + std::string(value);
  task.cdnStatus = combined == task.probeCdnStatus ? std::string() : std::move(combined);
}

// Redirects are followed, so their bodies never reach the package; any
// other answer than 206 carries bytes that do not belong at the position.
bool IsAcceptableStatus(std::string_view statusLine) {
  const std::size_t space = statusLine.find(' ');
  if (space == kNotFound) return false;
  const std::int64_t status = LeadingNumber(statusLine.substr(space + 1));
  switch (status) {
    case 206:
    case 301:
    case 302:
    case 303:
    case 307:
    case 308:
      return true;
    default:
      return status >= 100 && status < 200;
  }
}

// "Content-Range: bytes <first>-<last>/<total>" must start where the next
// received byte is written.
bool StartsAt(std::string_view line, std::int64_t position) {
  const std::size_t colon = line.find(':');
  if (colon == kNotFound) return false;
  std::string_view value = line.substr(colon + 1);
  value.remove_prefix(std::min(value.find_first_not_of(' '), value.size()));
  constexpr std::string_view kUnit = "bytes ";
  if (FindName(value, kUnit) != 0) return false;
  value.remove_prefix(kUnit.size());
  std::int64_t first = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), first);
  return error == std::errc() && end != value.data() + value.size() && *end == '-' &&
         first == position;
}

bool TotalMatches(std::string_view line, const CTask& task) {
  const std::size_t slash = line.rfind('/');
  if (slash == kNotFound) {
    LOG(INFO) << " HeaderCallback error2: " << line;
    return false;
  }
  if (LeadingNumber(line.substr(slash + 1)) != task.contentLength) {
    LOG(INFO) << " HeaderCallback error1: " << task.contentLength << " != " << line;
    return false;
  }
  return true;
}

}  // namespace

std::size_t CLibcurlTool::HeaderCallback(char* line, std::size_t size, std::size_t count,
                                         void* worker) {
  const std::size_t received = size * count;
  CTask* task = worker ? static_cast<DownloadWorker*>(worker)->currentTask() : nullptr;
  if (!line || !task) return received;
  const std::string_view text(line, received);

  if (text.substr(0, 5) == "HTTP/") {
    if (IsAcceptableStatus(text)) return received;
    LOG(INFO) << " HeaderCallback error3: " << text;
    return 0;
  }
  const bool isContentRange = FindName(text, "Content-Range") != kNotFound;
  if (task->contentLength != 0) {
    if (const std::size_t at = FindName(text, "CF-RAY:"); at != kNotFound) {
      const std::size_t dash = text.find('-', at + 7);
      if (dash != kNotFound) AddCdnStatus(*task, Value(text, dash + 1), true);
      return received;
    }
    if (const std::size_t at = FindName(text, "CF-Cache-Status:"); at != kNotFound) {
      AddCdnStatus(*task, Value(text, at + 16), false);
      return received;
    }
    if (isContentRange && !TotalMatches(text, *task)) return 0;
  }
  if (isContentRange && !StartsAt(text, task->DownloadedPos.load())) {
    LOG(INFO) << " HeaderCallback error4: " << task->DownloadedPos.load() << " != " << text;
    return 0;
  }
  return received;
}
