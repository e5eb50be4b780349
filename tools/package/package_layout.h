// A self-installing package is one file, in this order:
//   1. the installer program (an ELF executable, package-installer);
//   2. the payload: a ZIP archive whose entries are paths relative to the
//      installation folder ('/' between folders, names ending in '/' are
//      folders, Unix modes in the external attributes), each entry stored
//      uncompressed when it does not compress;
//   3. the payload trailer: the ZIP's length as 8 bytes little-endian, then
//      the text of kPayloadMagic;
//   4. optionally an embedded signature over everything before it, in the
//      kernel's module-signature layout (system/module_signature.h).
// Reading from the end lets the installer find its payload without knowing
// its own size, and lets a signature be appended without touching the rest.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace package {

inline constexpr std::string_view kPayloadMagic = "~Package payload appended~\n";
inline constexpr std::size_t kPayloadTrailerSize = 8 + kPayloadMagic.size();

std::string MakePayloadTrailer(std::uint64_t payloadLength);

struct PayloadRange {
  std::uint64_t offset = 0;
  std::uint64_t length = 0;
};

// Where the ZIP lies in the open package `fd` of `fileSize` bytes, past an
// embedded signature if there is one; nullopt with `error` set when the file
// carries no payload or its trailer cannot describe this file.
std::optional<PayloadRange> LocatePayload(int fd, std::uint64_t fileSize, std::string& error);

}  // namespace package
