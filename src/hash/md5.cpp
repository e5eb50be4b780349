#include "hash/md5.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

namespace hash {

namespace {

// floor(abs(sin(i + 1)) * 2^32), one per step, as RFC 1321 lists them.
constexpr std::uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

// Left-rotation amounts; each round repeats its four.
constexpr int kShift[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

// Message words are little-endian whatever the host; memcpy because the
// caller's buffer need not be aligned.
std::uint32_t Word(const std::uint8_t* block, std::size_t index) {
  std::uint32_t word;
  std::memcpy(&word, block + 4 * index, sizeof word);
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap32(word);
  return word;
}

// Step I of the 64. The registers trade places after every step, so the
// indices into v rotate rather than the values; with I a constant they
// resolve at compile time and v stays in registers.
template <std::size_t I>
void Step(std::uint32_t (&v)[4], const std::uint8_t* block) {
  std::uint32_t& a = v[(64 - I) % 4];
  const std::uint32_t b = v[(65 - I) % 4];
  const std::uint32_t c = v[(66 - I) % 4];
  const std::uint32_t d = v[(67 - I) % 4];
  constexpr std::size_t round = I / 16;
  std::uint32_t f;
  std::size_t word;
  // F and G in forms equal to the RFC's that leave fewer operations waiting
  // for b, the register computed by the step before; G's halves share no
  // bits, so adding them is OR.
  if constexpr (round == 0) {
    f = d ^ (b & (c ^ d));
    word = I;
  } else if constexpr (round == 1) {
    f = (c & ~d) + (b & d);
    word = (5 * I + 1) % 16;
  } else if constexpr (round == 2) {
    f = b ^ c ^ d;
    word = (3 * I + 5) % 16;
  } else {
    f = c ^ (b | ~d);
    word = (7 * I) % 16;
  }
  a = b + std::rotl(a + f + Word(block, word) + kSine[I], kShift[round][I % 4]);
}

// The 64 steps of one block, on locals rather than on the members, so that
// the compiler can keep them in registers.
template <std::size_t... I>
std::array<std::uint32_t, 4> Steps(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                                   const std::uint8_t* block, std::index_sequence<I...>) {
  std::uint32_t v[4] = {a, b, c, d};
  (Step<I>(v, block), ...);
  return {v[0], v[1], v[2], v[3]};
}

void StoreLittle(std::uint64_t value, std::size_t bytes, std::uint8_t* out) {
  for (std::size_t i = 0; i < bytes; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

void Md5::Compress(const std::uint8_t* blocks, std::size_t count) {
  std::uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
  for (; count > 0; --count, blocks += kBlockSize) {
    const auto v = Steps(a, b, c, d, blocks, std::make_index_sequence<64>{});
    a += v[0];
    b += v[1];
    c += v[2];
    d += v[3];
  }
  state_ = {a, b, c, d};
}

void Md5::Update(const void* data, std::size_t size) {
  // An empty string_view may carry a null pointer, which memcpy must not see.
  if (size == 0) return;
  auto bytes = static_cast<const std::uint8_t*>(data);
  length_ += size;
  if (buffered_ > 0) {
    const std::size_t take = std::min(size, kBlockSize - buffered_);
    std::memcpy(buffer_.data() + buffered_, bytes, take);
    buffered_ += take;
    bytes += take;
    size -= take;
    if (buffered_ < kBlockSize) return;
    Compress(buffer_.data(), 1);
    buffered_ = 0;
  }
  const std::size_t whole = size / kBlockSize;
  Compress(bytes, whole);
  bytes += whole * kBlockSize;
  size -= whole * kBlockSize;
  std::memcpy(buffer_.data(), bytes, size);
  buffered_ = size;
}

Md5::Digest Md5::Final() {
  // The message ends with 0x80, zeros up to 56 bytes into a block and the
  // length in bits, which needs a block of its own when fewer than 9 bytes
  // are left in the last one.
  const std::uint64_t bits = length_ << 3;
  buffer_[buffered_++] = 0x80;
  if (buffered_ > kBlockSize - 8) {
    std::memset(buffer_.data() + buffered_, 0, kBlockSize - buffered_);
    Compress(buffer_.data(), 1);
    buffered_ = 0;
  }
  std::memset(buffer_.data() + buffered_, 0, kBlockSize - 8 - buffered_);
  StoreLittle(bits, 8, buffer_.data() + kBlockSize - 8);
  Compress(buffer_.data(), 1);

  Digest digest;
  for (std::size_t i = 0; i < state_.size(); ++i) StoreLittle(state_[i], 4, digest.data() + 4 * i);
  *this = Md5{};
  return digest;
}

std::string Md5::Hex(const Digest& digest) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text(2 * digest.size(), '\0');
  for (std::size_t i = 0; i < digest.size(); ++i) {
    text[2 * i] = kDigits[digest[i] >> 4];
    text[2 * i + 1] = kDigits[digest[i] & 0x0F];
  }
  return text;
}

std::string Md5Hex(std::string_view data) {
  Md5 md5;
  md5.Update(data.data(), data.size());
  return Md5::Hex(md5.Final());
}

}  // namespace hash
