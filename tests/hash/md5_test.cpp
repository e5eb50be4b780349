#include "hash/md5.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "fixtures/run_command.h"
#include "fixtures/temp_dir.h"

namespace {

struct Vector {
  std::string input;
  const char* hex;
};

std::string Digest(hash::Md5& md5) { return hash::Md5::Hex(md5.Final()); }

// Bytes of every value, so that no byte order or sign fault hides behind text.
std::string PseudoRandomBytes(std::size_t size) {
  std::mt19937 engine(1321);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(engine());
  return bytes;
}

TEST(Md5, MatchesTheRfcTestSuite) {
  const Vector vectors[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const Vector& vector : vectors) {
    SCOPED_TRACE(vector.input);
    EXPECT_EQ(hash::Md5Hex(vector.input), vector.hex);
  }
}

// 55 bytes leave just room for 0x80 and the length; from 56 on the length
// moves to a block of its own; 64 and 65 put the padding after a full block.
TEST(Md5, PadsAtTheBlockEdges) {
  const Vector vectors[] = {
      {std::string(55, 'a'), "ef1772b6dff9a122358552954ad0df65"},
      {std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
      {std::string(63, 'a'), "b06521f39153d618550606be297466d5"},
      {std::string(64, 'a'), "014842d480b571495a4a0363793f7367"},
      {std::string(65, 'a'), "c743a45e0d2e6a95cb859adae0248435"},
  };
  for (const Vector& vector : vectors) {
    SCOPED_TRACE(vector.input.size());
    EXPECT_EQ(hash::Md5Hex(vector.input), vector.hex);
  }
}

// Piece sizes up to two blocks and more take every path through the partial
// block: filling it, leaving it short, and blocks hashed from the caller's
// (unaligned) buffer on either side of it. Empty pieces in between are no-ops.
TEST(Md5, GivesTheSameDigestForAnySplit) {
  const std::string input = PseudoRandomBytes(1000);
  const std::string whole = hash::Md5Hex(input);
  for (std::size_t piece = 1; piece <= 130; ++piece) {
    SCOPED_TRACE(piece);
    hash::Md5 md5;
    for (std::size_t at = 0; at < input.size(); at += piece) {
      md5.Update(input.data() + at, std::min(piece, input.size() - at));
      md5.Update(nullptr, 0);
    }
    EXPECT_EQ(Digest(md5), whole);
  }
}

TEST(Md5, AgreesWithMd5sumOnTenMebibytes) {
  const std::string bytes = PseudoRandomBytes(10 * 1024 * 1024);
  const test::TempDir dir;
  const std::string file = dir.File("data");
  test::WriteFile(file, bytes);

  const test::CommandResult md5sum = test::RunCommand({"md5sum", file});
  ASSERT_EQ(md5sum.exitCode, 0) << md5sum.err;
  EXPECT_EQ(hash::Md5Hex(bytes), md5sum.out.substr(0, 32));
}

// 2^29 bytes are 2^32 bits: a length kept in 32 bits would wrap here.
TEST(Md5, CountsTheLengthInSixtyFourBits) {
  const std::vector<std::uint8_t> zeros(1024 * 1024, 0);
  hash::Md5 md5;
  for (int i = 0; i < 512; ++i) md5.Update(zeros.data(), zeros.size());
  md5.Update(zeros.data(), 1);
  // md5sum of 512 MiB and one byte of zeros.
  EXPECT_EQ(Digest(md5), "ea3b62c6b93cb3625a1fd76777985f5a");
}

TEST(Md5, FinalStartsAfresh) {
  hash::Md5 md5;
  // A partial block and a count are pending when Final is called.
  md5.Update("message digest", 14);
  EXPECT_EQ(Digest(md5), "f96b697d7cb7938d525a2f31aaf161d0");
  EXPECT_EQ(Digest(md5), "d41d8cd98f00b204e9800998ecf8427e");
  md5.Update("message", 7);
  md5.Update(" digest", 7);
  EXPECT_EQ(Digest(md5), "f96b697d7cb7938d525a2f31aaf161d0");
  // After a full block as well.
  const std::string block(64, 'a');
  md5.Update(block.data(), block.size());
  EXPECT_EQ(Digest(md5), "014842d480b571495a4a0363793f7367");
  md5.Update("abc", 3);
  EXPECT_EQ(Digest(md5), "900150983cd24fb0d6963f7d28e17f72");
}

}  // namespace
