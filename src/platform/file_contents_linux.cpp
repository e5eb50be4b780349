#include "platform/file_contents.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/unique_fd_linux.h"
#include "platform/utf8.h"

namespace platform {

std::optional<std::string> ReadFileContents(const std::wstring& path,
                                            std::size_t maxBytes) {
  UniqueFd fd(::open(ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return std::nullopt;
  std::string contents;
  char chunk[16384];
  while (contents.size() < maxBytes) {
    const std::size_t want = std::min(sizeof chunk, maxBytes - contents.size());
    const ssize_t got = ::read(fd.get(), chunk, want);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;  // EISDIR among others
    if (got == 0) break;
    contents.append(chunk, static_cast<std::size_t>(got));
  }
  return contents;
}

}  // namespace platform
