#include "temp_file.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace stubctl {

std::optional<TempFile> TempFile::CreateBeside(const std::filesystem::path& target,
                                               std::string_view tag, std::string& error) {
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  std::string name = ".";
  name.append(target.filename().string()).append(".").append(tag).append(".XXXXXX");
  std::string pattern = (folder / name).string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) {
    error = "cannot write in " + folder.string() + ": " + std::strerror(errno);
    return std::nullopt;
  }
  ::close(fd);
  return TempFile(pattern);
}

TempFile::TempFile(TempFile&& other) noexcept : path_(std::move(other.path_)) {
  other.path_.clear();
}

TempFile::~TempFile() {
  if (!path_.empty()) ::unlink(path_.c_str());
}

bool TempFile::CommitTo(const std::filesystem::path& target, std::string& error) {
  if (std::rename(path_.c_str(), target.c_str()) != 0) {
    error = "cannot write " + target.string() + ": " + std::strerror(errno);
    return false;
  }
  path_.clear();
  return true;
}

}  // namespace stubctl
