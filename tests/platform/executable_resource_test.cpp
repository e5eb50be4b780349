#include "platform/executable_resource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <filesystem>
#include <memory>

#include "fixtures/temp_dir.h"
#include "platform/paths.h"

namespace {

using platform::ReadElfSection;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

using Bytes = std::vector<unsigned char>;

Bytes ToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

// One copy of this test program with sections added by objcopy, shared by
// the suite: copying and rewriting a binary per test would be slow.
class ElfSectionTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    WriteFile(dir_->File("payload"), Payload());
    WriteFile(dir_->File("empty"), "");
    std::filesystem::copy_file("/proc/self/exe", dir_->File("plain"));
    const std::string command = std::string(OBJCOPY_PROGRAM) +
        " --add-section .ZIPRES.138=" + dir_->File("payload") +
        " --add-section .ZIPRES.139=" + dir_->File("empty") + " " +
        dir_->File("plain") + " " + dir_->File("stub");
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }

  static std::string Payload() {
    std::string payload = "PK\x03\x04 resource bytes";
    payload.push_back('\0');
    payload += std::string(5000, 'z');
    return payload;
  }
  static std::wstring Stub() { return dir_->WFile("stub"); }

  // A copy of the stub with `edit` applied to its bytes.
  std::wstring Variant(const std::function<void(std::string&)>& edit) {
    std::string bytes = ReadFile(dir_->File("stub"));
    edit(bytes);
    WriteFile(scratch_.File("variant"), bytes);
    return scratch_.WFile("variant");
  }

  static TempDir* dir_;
  TempDir scratch_;
};

TempDir* ElfSectionTest::dir_ = nullptr;

TEST_F(ElfSectionTest, ReadsSectionAddedByObjcopy) {
  EXPECT_EQ(ReadElfSection(Stub(), ".ZIPRES.138"), ToBytes(Payload()));
  EXPECT_EQ(ReadElfSection(Stub(), ".ZIPRES.139"), Bytes());
}

TEST_F(ElfSectionTest, MissingSectionsAndNobitsGiveNothing) {
  EXPECT_EQ(ReadElfSection(Stub(), ".ZIPRES.140"), std::nullopt);
  EXPECT_EQ(ReadElfSection(Stub(), ".ZIPRES.13"), std::nullopt);  // a prefix
  EXPECT_EQ(ReadElfSection(Stub(), ".ZIPRES.1380"), std::nullopt);
  EXPECT_EQ(ReadElfSection(Stub(), ".bss"), std::nullopt);  // SHT_NOBITS
  EXPECT_EQ(ReadElfSection(dir_->WFile("plain"), ".ZIPRES.138"), std::nullopt);
  EXPECT_NE(ReadElfSection(Stub(), ".text"), std::nullopt);
}

TEST_F(ElfSectionTest, TruncatedCopiesGiveNothingAtEveryLength) {
  const std::size_t size = ReadFile(dir_->File("stub")).size();
  // The section header table sits at the end: any cut loses part of it.
  for (std::size_t keep : {std::size_t{0}, std::size_t{3}, std::size_t{63},
                           std::size_t{64}, size / 2, size - 65, size - 1}) {
    auto file = Variant([keep](std::string& bytes) { bytes.resize(keep); });
    EXPECT_EQ(ReadElfSection(file, ".ZIPRES.138"), std::nullopt) << keep;
  }
}

TEST_F(ElfSectionTest, CorruptHeadersAreRejected) {
  struct Case {
    const char* what;
    std::size_t offset;
    std::string bytes;
  };
  const Case cases[] = {
      {"magic", 0, "\x7F" "ELG"},
      {"32-bit class", 4, "\x01"},
      {"big endian", 5, "\x02"},
      {"table offset past the end", 0x28, std::string("\xF0\xFF\xFF\xFF\xFF\xFF\xFF\x7F", 8)},
      {"tiny entry size", 0x3A, std::string("\x08\x00", 2)},
      {"huge section count", 0x3C, std::string("\xFE\xFF", 2)},
      {"name table index out of range", 0x3E, std::string("\xFE\xFF", 2)},
  };
  for (const Case& c : cases) {
    auto file = Variant([&c](std::string& bytes) { bytes.replace(c.offset, c.bytes.size(), c.bytes); });
    EXPECT_EQ(ReadElfSection(file, ".ZIPRES.138"), std::nullopt) << c.what;
  }
}

TEST_F(ElfSectionTest, SectionPointingPastTheEndIsRejected) {
  // Find the payload's section header by its offset and size fields, then
  // move its data beyond the end of the file.
  auto file = Variant([](std::string& bytes) {
    std::string sizeField;
    for (std::uint64_t size = Payload().size(), i = 0; i < 8; ++i, size >>= 8) {
      sizeField += static_cast<char>(size & 0xFF);
    }
    const std::size_t at = bytes.rfind(sizeField);
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at - 8, 8, std::string("\x00\x00\x00\x00\x00\x00\x00\x40", 8));
  });
  EXPECT_EQ(ReadElfSection(file, ".ZIPRES.138"), std::nullopt);
}

TEST(ElfSection, NonElfAndUnreadableFilesGiveNothing) {
  TempDir dir;
  std::string garbage;
  for (int i = 0; i < 100000; ++i) garbage += static_cast<char>((i * 7919) >> 3);
  WriteFile(dir.File("garbage"), garbage);
  WriteFile(dir.File("text"), "just some text that is long enough to hold a header ...........");
  EXPECT_EQ(ReadElfSection(dir.WFile("garbage"), ".ZIPRES.138"), std::nullopt);
  EXPECT_EQ(ReadElfSection(dir.WFile("text"), ".ZIPRES.138"), std::nullopt);
  EXPECT_EQ(ReadElfSection(dir.WFile("missing"), ".ZIPRES.138"), std::nullopt);
  EXPECT_EQ(ReadElfSection(dir.wpath(), ".ZIPRES.138"), std::nullopt);
}

// CMake adds .TESTRES.7 to this very program after linking.
TEST(ExecutableResource, LoadsFromOwnExecutable) {
  EXPECT_EQ(platform::LoadExecutableResource("TESTRES", 7), ToBytes("resource of the test program\n"));
  EXPECT_EQ(platform::LoadExecutableResource("TESTRES", 8), std::nullopt);
}

}  // namespace
