#pragma once
// MD5 (RFC 1321). Data may arrive in pieces of any size; whole 64-byte blocks
// are hashed straight from the caller's buffer and only a partial block is
// kept between calls.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace hash {

class Md5 {
 public:
  using Digest = std::array<std::uint8_t, 16>;

  void Update(const void* data, std::size_t size);
  // The digest of everything given so far; the object then starts afresh.
  Digest Final();

  // 32 lower-case hexadecimal digits.
  static std::string Hex(const Digest& digest);

 private:
  static constexpr std::size_t kBlockSize = 64;

  void Compress(const std::uint8_t* blocks, std::size_t count);

  std::array<std::uint32_t, 4> state_{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
  std::uint64_t length_ = 0;  // bytes given, modulo 2^64
  std::array<std::uint8_t, kBlockSize> buffer_{};
  std::size_t buffered_ = 0;
};

// Md5::Hex of the digest of `data`.
std::string Md5Hex(std::string_view data);

}  // namespace hash
