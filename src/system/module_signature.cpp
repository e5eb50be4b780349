#include "system/module_signature.h"

namespace module_signature {

Trailer ParseTrailer(std::string_view tail, std::uint64_t fileSize) {
  Trailer trailer;
  if (fileSize < kTrailerSize || tail.size() < kTrailerSize) return trailer;
  tail = tail.substr(tail.size() - kTrailerSize);
  if (tail.substr(kRecordSize) != kMagic) return trailer;
  trailer.state = TrailerState::kBroken;
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(tail[i]); };
  // The kernel leaves algorithm, hash, signer and key-id lengths zero for CMS;
  // anything else is a record this reader does not understand.
  for (std::size_t i = 0; i < 8; ++i) {
    if (byte(i) != (i == 2 ? kIdTypePkcs7 : 0)) return trailer;
  }
  const std::uint64_t length = (std::uint64_t{byte(8)} << 24) | (std::uint64_t{byte(9)} << 16) |
                               (std::uint64_t{byte(10)} << 8) | std::uint64_t{byte(11)};
  if (length == 0 || length > fileSize - kTrailerSize) return trailer;
  trailer.state = TrailerState::kPresent;
  trailer.signatureLength = length;
  trailer.contentLength = fileSize - kTrailerSize - length;
  return trailer;
}

std::string MakeTrailer(std::uint32_t signatureLength) {
  std::string trailer(kRecordSize, '\0');
  trailer[2] = static_cast<char>(kIdTypePkcs7);
  for (int i = 0; i < 4; ++i) {
    trailer[8 + i] = static_cast<char>((signatureLength >> (24 - 8 * i)) & 0xFF);
  }
  trailer += kMagic;
  return trailer;
}

}  // namespace module_signature
