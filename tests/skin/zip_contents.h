// What a ZIP archive holds, read back with libzip for the checks.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace skintest {

struct ZipEntry {
  std::string name;  // as stored, UTF-8
  std::string content;
  std::uint16_t method;
  std::uint64_t compressedSize;
};

// The entries in archive order; nullopt when libzip cannot open the bytes
// (consistency checks on) or read an entry. Names are read with the ZIP
// rules strictly applied: a UTF-8 name only survives when it is flagged so.
std::optional<std::vector<ZipEntry>> ReadZip(const std::string& bytes);
std::optional<std::vector<ZipEntry>> ReadZipFile(const std::filesystem::path& file);

std::vector<std::string> Names(const std::vector<ZipEntry>& entries);

}  // namespace skintest
