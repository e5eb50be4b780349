#pragma once
// Pieces of the request texts shared by the web log's operations.

#include <cstdint>
#include <cstdio>
#include <string>

inline constexpr char kJsonContentType[] = "Content-Type:application/json; charset=utf-8";
inline constexpr char kFormContentType[] = "Content-Type:application/x-www-form-urlencoded";

// A caller's C string; null counts as empty.
inline std::string TextOf(const char* text) { return text ? std::string(text) : std::string(); }

// "%08d", the service's spelling of every number.
inline std::string Pad8(std::int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%08d", static_cast<int>(value));
  return text;
}
