#include "download/file_md5.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "hash/md5.h"

namespace {

constexpr std::size_t kBlockSize = 1048576;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

FileMd5 ComputeFileMd5(const std::string& path) {
  FileMd5 result;
  // A directory opens for reading on Linux but is no file to hash, as on
  // Windows where opening it fails.
  std::error_code ignored;
  if (std::filesystem::is_directory(path, ignored)) {
    result.error = path + ": is a directory";
    return result;
  }
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    result.error = path + ": " + std::strerror(errno);
    return result;
  }
  // Blocks this large go straight into our buffer; a stdio buffer would
  // only add a copy.
  std::setvbuf(file.get(), nullptr, _IONBF, 0);
  const auto buffer = std::make_unique_for_overwrite<char[]>(kBlockSize);
  hash::Md5 md5;
  for (;;) {
    const std::size_t got = std::fread(buffer.get(), 1, kBlockSize, file.get());
    md5.Update(buffer.get(), got);
    if (got == kBlockSize) continue;
    if (std::ferror(file.get())) {
      result.status = FileMd5Status::kReadError;
      result.error = path + ": read error: " + std::strerror(errno);
      return result;
    }
    break;
  }
  result.status = FileMd5Status::kOk;
  result.hex = hash::Md5::Hex(md5.Final());
  return result;
}
