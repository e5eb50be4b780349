#include "platform/executable_resource.h"

#include <easylogging++.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/paths.h"
#include "platform/unique_fd_linux.h"
#include "platform/utf8.h"

namespace platform {
namespace {

constexpr std::uint64_t kMaxSectionSize = 256ull << 20;
constexpr std::size_t kElfHeaderSize = 64;
constexpr std::size_t kSectionHeaderSize = 64;
constexpr std::uint32_t kShtNobits = 8;
constexpr std::uint16_t kShnXindex = 0xFFFF;

// Fields are decoded byte by byte: the file's byte order is fixed, the
// host's is not.
std::uint64_t LittleEndian(const unsigned char* bytes, std::size_t size) {
  std::uint64_t value = 0;
  for (std::size_t i = size; i-- > 0;) value = (value << 8) | bytes[i];
  return value;
}

struct SectionHeader {
  std::uint32_t name;
  std::uint32_t type;
  std::uint64_t offset;
  std::uint64_t size;
  std::uint32_t link;
};

class ElfFile {
 public:
  ElfFile(UniqueFd fd, std::uint64_t fileSize, std::string displayName)
      : fd_(std::move(fd)), fileSize_(fileSize), name_(std::move(displayName)) {}

  // Reads exactly `size` bytes at `offset`, refusing anything past the end.
  bool ReadAt(std::uint64_t offset, void* buffer, std::uint64_t size) const {
    if (offset > fileSize_ || size > fileSize_ - offset) return false;
    auto* out = static_cast<unsigned char*>(buffer);
    while (size > 0) {
      ssize_t got = ::pread(fd_.get(), out, size, static_cast<off_t>(offset));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) return false;
      out += got;
      offset += static_cast<std::uint64_t>(got);
      size -= static_cast<std::uint64_t>(got);
    }
    return true;
  }

  std::optional<SectionHeader> Section(std::uint64_t tableOffset,
                                       std::uint64_t entrySize,
                                       std::uint64_t index) const {
    std::array<unsigned char, kSectionHeaderSize> raw{};
    if (index > (fileSize_ - tableOffset) / entrySize ||
        !ReadAt(tableOffset + index * entrySize, raw.data(), raw.size())) {
      return std::nullopt;
    }
    return SectionHeader{
        static_cast<std::uint32_t>(LittleEndian(&raw[0x00], 4)),
        static_cast<std::uint32_t>(LittleEndian(&raw[0x04], 4)),
        LittleEndian(&raw[0x18], 8), LittleEndian(&raw[0x20], 8),
        static_cast<std::uint32_t>(LittleEndian(&raw[0x28], 4))};
  }

  // True when the string table entry at `nameOffset` is exactly `wanted`.
  bool NameIs(const SectionHeader& strings, std::uint32_t nameOffset,
              const std::string& wanted) const {
    const std::uint64_t needed = wanted.size() + 1;  // with the terminator
    if (nameOffset > strings.size || needed > strings.size - nameOffset) {
      return false;
    }
    std::string found(needed, '\0');
    return ReadAt(strings.offset + nameOffset, found.data(), needed) &&
           std::memcmp(found.data(), wanted.c_str(), needed) == 0;
  }

  std::optional<std::vector<unsigned char>> Find(const std::string& wanted) const {
    std::array<unsigned char, kElfHeaderSize> header{};
    if (!ReadAt(0, header.data(), header.size()) ||
        std::memcmp(header.data(), "\x7F" "ELF", 4) != 0) {
      return Fail("not an ELF file");
    }
    if (header[4] != 2 || header[5] != 1) {
      return Fail("not a 64-bit little-endian ELF file");
    }
    const std::uint64_t tableOffset = LittleEndian(&header[0x28], 8);
    const std::uint64_t entrySize = LittleEndian(&header[0x3A], 2);
    std::uint64_t count = LittleEndian(&header[0x3C], 2);
    std::uint64_t stringIndex = LittleEndian(&header[0x3E], 2);
    if (tableOffset == 0) return Fail("no section header table");
    if (entrySize < kSectionHeaderSize || tableOffset > fileSize_) {
      return Fail("bad section header table");
    }
    // Many sections: the real count and string table index live in the
    // first section header.
    if (count == 0 || stringIndex == kShnXindex) {
      auto first = Section(tableOffset, entrySize, 0);
      if (!first) return Fail("truncated section header table");
      if (count == 0) count = first->size;
      if (stringIndex == kShnXindex) stringIndex = first->link;
    }
    if (count > (fileSize_ - tableOffset) / entrySize) {
      return Fail("section header table past the end of the file");
    }
    auto strings = Section(tableOffset, entrySize, stringIndex);
    if (!strings || strings->type == kShtNobits ||
        strings->offset > fileSize_ || strings->size > fileSize_ - strings->offset) {
      return Fail("bad section name table");
    }
    for (std::uint64_t i = 0; i < count; ++i) {
      auto section = Section(tableOffset, entrySize, i);
      if (!section) return Fail("truncated section header table");
      if (!NameIs(*strings, section->name, wanted)) continue;
      if (section->type == kShtNobits) return Fail("section has no contents");
      if (section->size > kMaxSectionSize) return Fail("section too large");
      std::vector<unsigned char> contents(section->size);
      if (!ReadAt(section->offset, contents.data(), section->size)) {
        return Fail("section past the end of the file");
      }
      return contents;
    }
    return std::nullopt;  // absent: not an error of the file
  }

 private:
  std::nullopt_t Fail(const char* why) const {
    LOG(WARNING) << "ReadElfSection: " << name_ << ": " << why;
    return std::nullopt;
  }

  UniqueFd fd_;
  std::uint64_t fileSize_;
  std::string name_;
};

}  // namespace

std::optional<std::vector<unsigned char>> ReadElfSection(
    const std::wstring& file, const std::string& sectionName) {
  const std::string path = ToUtf8(file);
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (!fd.valid() || ::fstat(fd.get(), &info) != 0) {
    LOG(WARNING) << "ReadElfSection: cannot read " << path << ": " << std::strerror(errno);
    return std::nullopt;
  }
  if (!S_ISREG(info.st_mode)) {
    LOG(WARNING) << "ReadElfSection: " << path << ": not a regular file";
    return std::nullopt;
  }
  ElfFile elf(std::move(fd), static_cast<std::uint64_t>(info.st_size), path);
  return elf.Find(sectionName);
}

std::optional<std::vector<unsigned char>> LoadExecutableResource(
    const std::string& type, int id) {
  return ReadElfSection(GetExecutablePath(), "." + type + "." + std::to_string(id));
}

}  // namespace platform
