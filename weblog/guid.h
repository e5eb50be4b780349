#pragma once
// Random (version 4) GUIDs where the Windows program calls CoCreateGuid, in
// the two spellings the web log uses.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct Guid {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::uint8_t data4[8] = {};
};

// nullopt when the system has no randomness to give.
std::optional<Guid> CreateGuid();

// "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", the machine's guid.
std::string FormatGuid(const Guid& guid);
// "%08X%04X%04x%02X%02X%02X%02X%02X%02X%02X%02X" (third group in lower case),
// the session id of the funnel reports.
std::string FormatSessionId(const Guid& guid);

// True for text of FormatGuid's shape (hex digits of either case).
bool IsGuidText(std::string_view text);
