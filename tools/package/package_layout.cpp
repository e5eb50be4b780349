#include "package_layout.h"

#include "system/module_signature.h"
#include "system/signature.h"

namespace package {

std::string MakePayloadTrailer(std::uint64_t payloadLength) {
  std::string trailer(8, '\0');
  for (int i = 0; i < 8; ++i) trailer[i] = static_cast<char>((payloadLength >> (8 * i)) & 0xFF);
  trailer += kPayloadMagic;
  return trailer;
}

std::optional<PayloadRange> LocatePayload(int fd, std::uint64_t fileSize, std::string& error) {
  std::uint64_t end = fileSize;
  if (fileSize >= module_signature::kTrailerSize) {
    std::string tail(module_signature::kTrailerSize, '\0');
    if (!ReadAt(fd, fileSize - tail.size(), tail.data(), tail.size())) {
      error = "the package cannot be read";
      return std::nullopt;
    }
    const module_signature::Trailer signature = module_signature::ParseTrailer(tail, fileSize);
    if (signature.state == module_signature::TrailerState::kBroken) {
      error = "the package's signature record is damaged";
      return std::nullopt;
    }
    if (signature.state == module_signature::TrailerState::kPresent) end = signature.contentLength;
  }
  std::string trailer(kPayloadTrailerSize, '\0');
  if (end < trailer.size() || !ReadAt(fd, end - trailer.size(), trailer.data(), trailer.size()) ||
      std::string_view(trailer).substr(8) != kPayloadMagic) {
    error = "the package carries no payload (missing or truncated)";
    return std::nullopt;
  }
  std::uint64_t length = 0;
  for (int i = 7; i >= 0; --i) length = (length << 8) | static_cast<unsigned char>(trailer[i]);
  if (length == 0 || length > end - trailer.size()) {
    error = "the package's payload length does not fit the file (truncated package?)";
    return std::nullopt;
  }
  return PayloadRange{end - trailer.size() - length, length};
}

}  // namespace package
