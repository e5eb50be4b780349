#include "zip/zip_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <utility>

#include "platform/utf8.h"

namespace {

bool ReadRegularFile(const std::string& path, std::vector<unsigned char>& bytes,
                     std::time_t& modified, std::string& error) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    error = path + ": not a regular file";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot be opened";
    return false;
  }
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = path + ": read error";
    return false;
  }
  modified = info.st_mtime;
  return true;
}

// libzip removes an archive that has no entries instead of writing it; an
// empty ZIP is just the end-of-central-directory record.
bool WriteEmptyArchive(const std::string& path) {
  const std::array<char, 22> record{'P', 'K', 5, 6};
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(record.data(), record.size());
  out.close();
  return static_cast<bool>(out);
}

}  // namespace

std::unique_ptr<ZipWriter> ZipWriter::Create(const std::wstring& path) {
  const std::string file = platform::ToUtf8(path);
  // libzip only notices an unwritable destination in zip_close; probe now.
  struct stat info {};
  const bool existed = ::stat(file.c_str(), &info) == 0;
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  ::close(fd);
  if (!existed) ::unlink(file.c_str());

  int error = 0;
  zip* archive = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (archive == nullptr) return nullptr;
  return std::unique_ptr<ZipWriter>(new ZipWriter(archive, file));
}

ZipWriter::ZipWriter(zip* archive, std::string path)
    : archive_(archive), path_(std::move(path)) {}

ZipWriter::~ZipWriter() {
  if (archive_ != nullptr) zip_discard(archive_);
}

bool ZipWriter::AddFile(const std::wstring& entryName, const std::wstring& sourcePath) {
  std::vector<unsigned char> bytes;
  std::time_t modified = 0;
  std::string error;
  if (!ReadRegularFile(platform::ToUtf8(sourcePath), bytes, modified, error)) {
    return Fail(error);
  }
  return AddEntry(entryName, std::move(bytes), modified);
}

bool ZipWriter::AddBuffer(const std::wstring& entryName, std::vector<unsigned char> bytes) {
  return AddEntry(entryName, std::move(bytes), std::time(nullptr));
}

bool ZipWriter::AddEntry(const std::wstring& entryName, std::vector<unsigned char> bytes,
                         std::time_t modified) {
  if (archive_ == nullptr) return Fail("archive already closed");
  const std::string name = platform::ToUtf8(entryName);
  if (name.empty() || name.front() == '/' || name.back() == '/') {
    return Fail("invalid entry name \"" + name + "\"");
  }
  const std::vector<unsigned char>& kept = contents_.emplace_back(std::move(bytes));
  zip_source_t* source = zip_source_buffer(archive_, kept.data(), kept.size(), 0);
  if (source == nullptr) {
    contents_.pop_back();
    return Fail(zip_strerror(archive_));
  }
  const zip_int64_t index = zip_file_add(archive_, name.c_str(), source, ZIP_FL_ENC_UTF_8);
  if (index < 0) {
    zip_source_free(source);
    contents_.pop_back();
    return Fail(name + ": " + zip_strerror(archive_));
  }
  const auto entry = static_cast<zip_uint64_t>(index);
  if (zip_set_file_compression(archive_, entry, ZIP_CM_DEFLATE, 0) != 0 ||
      zip_file_set_mtime(archive_, entry, modified, 0) != 0) {
    zip_delete(archive_, entry);
    return Fail(name + ": " + zip_strerror(archive_));
  }
  ++entryCount_;
  return true;
}

bool ZipWriter::Close() {
  if (archive_ == nullptr) return Fail("archive already closed");
  zip* archive = std::exchange(archive_, nullptr);
  if (zip_close(archive) != 0) {
    lastError_ = path_ + ": " + zip_strerror(archive);
    zip_discard(archive);
    contents_.clear();
    return false;
  }
  contents_.clear();
  if (entryCount_ == 0 && !WriteEmptyArchive(path_)) return Fail(path_ + ": cannot be written");
  return true;
}

bool ZipWriter::Fail(std::string message) {
  lastError_ = std::move(message);
  return false;
}
