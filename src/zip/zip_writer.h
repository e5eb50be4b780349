// Writes a new ZIP archive (deflated entries, UTF-8 names) with libzip.
// Used for the skin package of a stub and for diagnostic packages.
//
// Entries are snapshots: AddFile reads the source at once, so a log that is
// still growing is stored as it was when added and cannot make Close fail.
// Nothing appears at the path until Close succeeds; libzip writes a
// temporary file beside it and renames it into place. Destroying a writer
// that was not closed discards the archive.
#pragma once

#include <cstddef>
#include <ctime>
#include <list>
#include <memory>
#include <string>
#include <vector>

struct zip;

class ZipWriter {
 public:
  // nullptr when the file cannot be created (missing directory, no write
  // permission, a directory of that name).
  static std::unique_ptr<ZipWriter> Create(const std::wstring& path);

  ~ZipWriter();
  ZipWriter(const ZipWriter&) = delete;
  ZipWriter& operator=(const ZipWriter&) = delete;

  // false when the name is empty, absolute, ends in '/' or is already in
  // the archive, when the source is no readable regular file, or after
  // Close. Names use '/' between folders.
  bool AddFile(const std::wstring& entryName, const std::wstring& sourcePath);
  bool AddBuffer(const std::wstring& entryName, std::vector<unsigned char> bytes);

  // Writes the archive; false when it cannot be written. An archive without
  // entries is still written (as an empty ZIP). Only the first call writes.
  bool Close();

  // Why the last failed call failed, for messages.
  const std::string& LastError() const { return lastError_; }

 private:
  ZipWriter(zip* archive, std::string path);
  bool AddEntry(const std::wstring& entryName, std::vector<unsigned char> bytes,
                std::time_t modified);
  bool Fail(std::string message);

  zip* archive_;
  std::string path_;
  // libzip reads entry data only in zip_close, so the bytes live until then.
  std::list<std::vector<unsigned char>> contents_;
  std::size_t entryCount_ = 0;
  std::string lastError_;
};
