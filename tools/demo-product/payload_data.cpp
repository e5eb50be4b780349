// demo-payload-data FILE SIZE SEED: writes SIZE bytes of deterministic
// pseudo-random data to FILE (through a temporary file renamed into place),
// so that the demo package is large, does not compress and is the same on
// every build.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: demo-payload-data FILE SIZE SEED\n";
    return 1;
  }
  const std::filesystem::path file = argv[1];
  const std::uint64_t size = std::strtoull(argv[2], nullptr, 10);
  // xorshift64*: fast, and a non-zero state for every seed.
  std::uint64_t state = std::strtoull(argv[3], nullptr, 10) * 0x9E3779B97F4A7C15ull | 1;
  const std::filesystem::path temp = file.string() + ".tmp";
  std::ofstream out(temp, std::ios::binary | std::ios::trunc);
  std::vector<std::uint64_t> block(1 << 17);
  for (std::uint64_t done = 0; out && done < size;) {
    for (std::uint64_t& word : block) {
      state ^= state >> 12;
      state ^= state << 25;
      state ^= state >> 27;
      word = state * 0x2545F4914F6CDD1Dull;
    }
    const std::uint64_t chunk = std::min<std::uint64_t>(size - done, block.size() * 8);
    out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(chunk));
    done += chunk;
  }
  out.close();
  std::error_code ec;
  if (!out || (std::filesystem::rename(temp, file, ec), ec)) {
    std::filesystem::remove(temp, ec);
    std::cerr << "demo-payload-data: cannot write " << file << '\n';
    return 1;
  }
  return 0;
}
