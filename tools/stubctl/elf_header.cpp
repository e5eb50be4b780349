#include "elf_header.h"

#include <array>
#include <fstream>

namespace stubctl {

bool IsElf64LittleEndian(const std::filesystem::path& file) {
  constexpr std::array<char, 6> kIdentification{0x7f, 'E', 'L', 'F', 2 /*64-bit*/,
                                                1 /*little-endian*/};
  std::array<char, kIdentification.size()> start{};
  std::ifstream in(file, std::ios::binary);
  return in.read(start.data(), start.size()) && start == kIdentification;
}

}  // namespace stubctl
