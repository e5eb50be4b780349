#include "weblog/guid.h"

#include <openssl/rand.h>

#include <cstdio>

namespace {

std::string Format(const char* format, const Guid& g) {
  char text[40];
  std::snprintf(text, sizeof text, format, static_cast<unsigned>(g.data1),
                static_cast<unsigned>(g.data2), static_cast<unsigned>(g.data3), g.data4[0],
                g.data4[1], g.data4[2], g.data4[3], g.data4[4], g.data4[5], g.data4[6], g.data4[7]);
  return text;
}

}  // namespace

std::optional<Guid> CreateGuid() {
  unsigned char bytes[16];
  if (RAND_bytes(bytes, sizeof bytes) != 1) return std::nullopt;
  Guid g;
  g.data1 = static_cast<std::uint32_t>(bytes[0]) << 24 |
            static_cast<std::uint32_t>(bytes[1]) << 16 | static_cast<std::uint32_t>(bytes[2]) << 8 |
            bytes[3];
  g.data2 = static_cast<std::uint16_t>(bytes[4] << 8 | bytes[5]);
  // RFC 4122: version 4 in the top nibble of data3, variant 10 in data4[0].
  g.data3 = static_cast<std::uint16_t>((bytes[6] & 0x0F) << 8 | 0x4000 | bytes[7]);
  for (int i = 0; i < 8; ++i) g.data4[i] = bytes[8 + i];
  g.data4[0] = static_cast<std::uint8_t>((g.data4[0] & 0x3F) | 0x80);
  return g;
}

std::string FormatGuid(const Guid& guid) {
  return Format("%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", guid);
}

std::string FormatSessionId(const Guid& guid) {
  return Format("%08X%04X%04x%02X%02X%02X%02X%02X%02X%02X%02X", guid);
}

bool IsGuidText(std::string_view text) {
  if (text.size() != 36) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
    const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    if (dash ? c != '-' : !hex) return false;
  }
  return true;
}
