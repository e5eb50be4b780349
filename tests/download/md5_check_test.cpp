// The package's MD5 check and the marker file it leaves beside the package.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "download/CDownLoadImpl.h"
#include "fixtures/log_capture.h"
#include "fixtures/run_command.h"
#include "fixtures/temp_dir.h"
#include "platform/utf8.h"

namespace {

constexpr char kEmptyMd5[] = "d41d8cd98f00b204e9800998ecf8427e";
constexpr wchar_t kEmptyMd5Wide[] = L"d41d8cd98f00b204e9800998ecf8427e";
constexpr char kAbcMd5[] = "900150983cd24fb0d6963f7d28e17f72";
constexpr wchar_t kAbcMd5Wide[] = L"900150983cd24fb0d6963f7d28e17f72";

std::vector<std::string> Names(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool Logged(const test::LogCapture& log, const std::string& line) {
  const auto lines = log.lines();
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class Md5CheckTest : public ::testing::Test {
 protected:
  std::string Marker() const { return test::ReadFile(dir_.File("package.exe.db")); }

  test::TempDir dir_;
  const std::wstring package_ = dir_.WFile("package.exe");
  test::LogCapture log_;
};

TEST_F(Md5CheckTest, WritesTheMarkerAndLogsTheDigest) {
  test::WriteFile(dir_.File("package.exe"), "abc");
  // A stale marker is replaced whole, and no temporary file stays behind.
  test::WriteFile(dir_.File("package.exe.db"), "0.9###0123456789abcdef0123456789abcdef and more");

  EXPECT_TRUE(CDownLoadImpl::checkMD5(package_, kAbcMd5Wide, L"", L"2.1 \u00fc\u7248"));

  EXPECT_EQ(Marker(), "2.1 \xc3\xbc\xe7\x89\x88###" + std::string(kAbcMd5));
  EXPECT_EQ(Names(dir_.path()), (std::vector<std::string>{"package.exe", "package.exe.db"}));
  EXPECT_TRUE(Logged(log_, " MD5 of file " + dir_.File("package.exe") + " is " + kAbcMd5));
}

TEST_F(Md5CheckTest, ComparesWithEitherValueExactly) {
  test::WriteFile(dir_.File("package.exe"), "abc");
  const struct {
    std::wstring md5, md5Extra;
    bool matches;
  } cases[] = {
      {kAbcMd5Wide, L"", true},
      {L"", kAbcMd5Wide, true},
      {L"ffffffffffffffffffffffffffffffff", kAbcMd5Wide, true},
      {L"900150983CD24FB0D6963F7D28E17F72", L"", false},
      {L"", L"900150983CD24FB0D6963F7D28E17F72", false},
      {L" 900150983cd24fb0d6963f7d28e17f72", L"900150983cd24fb0d6963f7d28e17f7", false},
      {L"", L"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CDownLoadImpl::checkMD5(package_, c.md5, c.md5Extra, L"1"), c.matches)
        << platform::ToUtf8(c.md5) << " / " << platform::ToUtf8(c.md5Extra);
    // The marker holds the file's digest whatever was expected.
    EXPECT_EQ(Marker(), "1###" + std::string(kAbcMd5));
  }
}

TEST_F(Md5CheckTest, EmptyMissingAndDirectoryHashAsEmptyInput) {
  test::WriteFile(dir_.File("empty.exe"), "");
  std::filesystem::create_directory(dir_.path() / "folder.exe");
  for (const std::string name : {"empty.exe", "missing.exe", "folder.exe"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(CDownLoadImpl::checkMD5(dir_.WFile(name), kAbcMd5Wide, L"", L"3"));
    EXPECT_EQ(test::ReadFile(dir_.File(name + ".db")), "3###" + std::string(kEmptyMd5));
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir_.path() / "folder.exe"));
}

TEST_F(Md5CheckTest, FileOfSeveralBlocksMatchesMd5sum) {
  // Bytes that differ from block to block, with a tail past the last whole
  // 1 MiB block, so a lost or repeated block changes the digest.
  std::string bytes((3 << 20) + 7, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<char>((i * 131 + i / 4093) % 256);
  }
  test::WriteFile(dir_.File("package.exe"), bytes);
  const test::CommandResult md5sum = test::RunCommand({"md5sum", dir_.File("package.exe")});
  ASSERT_EQ(md5sum.exitCode, 0) << md5sum.err;
  const std::string expected = md5sum.out.substr(0, 32);

  EXPECT_TRUE(CDownLoadImpl::checkMD5(package_, L"", std::wstring(expected.begin(), expected.end()),
                                      L"4"));
  EXPECT_EQ(Marker(), "4###" + expected);
}

TEST_F(Md5CheckTest, ReadErrorGivesNoDigestAndDropsTheMarker) {
  // Opens fine, then every read fails: hashing the nothing that was read
  // would give the empty digest and match it.
  std::filesystem::create_symlink("/proc/self/mem", dir_.path() / "package.exe");
  test::WriteFile(dir_.File("package.exe.db"), "5###" + std::string(kEmptyMd5));

  EXPECT_FALSE(CDownLoadImpl::checkMD5(package_, kEmptyMd5Wide, kEmptyMd5Wide, L"5"));

  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "package.exe.db"));
  const auto lines = log_.lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_TRUE(lines.back().starts_with(" MD5 of file " + dir_.File("package.exe") + " failed: "))
      << lines.back();
}

}  // namespace
