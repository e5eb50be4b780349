#pragma once
// The Linux kernel's layout for a signature appended to a file: the file's
// bytes, the DER CMS SignedData, a 12-byte record (all zero except id_type 2
// at byte 2 and the big-endian DER length in the last four bytes), then the
// magic text. Packages use it so that the same tools that sign modules can
// sign them.

#include <cstdint>
#include <string>
#include <string_view>

namespace module_signature {

inline constexpr std::string_view kMagic = "~Module signature appended~\n";
inline constexpr std::size_t kRecordSize = 12;
inline constexpr std::size_t kTrailerSize = kRecordSize + kMagic.size();
inline constexpr std::uint8_t kIdTypePkcs7 = 2;

enum class TrailerState {
  kAbsent,   // no magic at the end: the file is not signed
  kBroken,   // the magic is there but the record cannot describe this file
  kPresent,  // the record's length fits inside the file
};

struct Trailer {
  TrailerState state = TrailerState::kAbsent;
  std::uint64_t contentLength = 0;    // the signed bytes, from offset 0
  std::uint64_t signatureLength = 0;  // the DER that follows them
};

// `tail` holds the file's last min(fileSize, kTrailerSize) bytes.
Trailer ParseTrailer(std::string_view tail, std::uint64_t fileSize);

// The record and the magic for a DER signature of `signatureLength` bytes.
std::string MakeTrailer(std::uint32_t signatureLength);

}  // namespace module_signature
