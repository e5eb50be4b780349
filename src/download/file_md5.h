#pragma once
// The MD5 of a whole file, read in 1 MiB blocks: the package check and the
// maker's tool hash the same way.

#include <string>

enum class FileMd5Status {
  kOk,
  kCannotOpen,  // missing, unreadable or a directory
  kReadError,   // opened, but a read failed part-way: no digest
};

struct FileMd5 {
  FileMd5Status status = FileMd5Status::kCannotOpen;
  std::string hex;    // 32 lower-case hex digits when kOk
  std::string error;  // why, otherwise
};

// `path` is the file system's name as it stands (UTF-8 on Linux).
FileMd5 ComputeFileMd5(const std::string& path);
