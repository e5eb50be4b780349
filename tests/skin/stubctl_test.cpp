// stubctl pack-skin and make-stub, run as the maker runs them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "fixtures/run_command.h"
#include "fixtures/temp_dir.h"
#include "fixtures/zip_bytes.h"
#include "platform/executable_resource.h"
#include "platform/utf8.h"
#include "skin_paths.h"
#include "zip_contents.h"

namespace fs = std::filesystem;

namespace skintest {
namespace {

using test::CommandResult;
using test::RunCommand;

constexpr const char* kSection = ".ZIPRES.138";

CommandResult Stubctl(std::vector<std::string> args) {
  args.insert(args.begin(), StubctlProgram().string());
  return RunCommand(args);
}

std::optional<std::string> EmbeddedSkin(const fs::path& stub) {
  const auto bytes = platform::ReadElfSection(platform::FromUtf8(stub.string()), kSection);
  if (!bytes) return std::nullopt;
  return std::string(bytes->begin(), bytes->end());
}

// The section-header lines readelf prints for the skin section.
std::vector<std::string> SkinSectionHeaders(const fs::path& stub) {
  const CommandResult listing = RunCommand({"readelf", "-SW", stub.string()});
  std::vector<std::string> lines;
  std::istringstream in(listing.out);
  for (std::string line; std::getline(in, line);) {
    if (line.find(std::string(kSection) + " ") != std::string::npos) lines.push_back(line);
  }
  return lines;
}

std::set<std::string> Listing(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

class StubctlTest : public ::testing::Test {
 protected:
  // A skin folder with the cases the packer must get right: nested files,
  // an empty folder, and links inside and out of the folder.
  fs::path MakeSkinFolder() const {
    const fs::path skin = dir_.path() / "skin";
    dir_.Write("skin/configure/configure.xml", "<VerticalLayout/>");
    dir_.Write("skin/InstallMainWnd.xml", "<Window size=\"650,560\"/>");
    dir_.Write("skin/skin/b.png", std::string("\x89PNG\0\x01\x02", 7));
    dir_.Write("skin/language/language_english.xml", "<VerticalLayout/>");
    fs::create_directories(skin / "empty");
    dir_.Write("secret.txt", "outside the skin");
    fs::create_symlink(skin / "InstallMainWnd.xml", skin / "linked.xml");
    fs::create_symlink(dir_.path() / "secret.txt", skin / "outside.txt");
    fs::create_symlink(skin / "skin", skin / "linked_folder");
    return skin;
  }

  fs::path WriteZip(const std::string& name, const std::map<std::string, std::string>& entries) {
    const std::vector<unsigned char> bytes = test::MakeZip(entries);
    return dir_.Write(name, std::string(bytes.begin(), bytes.end()));
  }

  test::TempDir dir_;
};

const std::vector<std::string> kPackedNames{
    "InstallMainWnd.xml", "configure/configure.xml", "language/language_english.xml",
    "linked.xml", "skin/b.png"};

TEST_F(StubctlTest, PackSkinStoresRelativeFilesInOrderWithoutFoldersOrOutsideLinks) {
  const fs::path skin = MakeSkinFolder();
  const fs::path zip = dir_.path() / "skin.zip";
  const CommandResult result = Stubctl({"pack-skin", skin.string(), zip.string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.err.find("outside.txt"), std::string::npos) << result.err;

  const auto entries = ReadZipFile(zip);
  ASSERT_TRUE(entries.has_value());
  EXPECT_EQ(Names(*entries), kPackedNames);
  EXPECT_EQ(entries->at(0).content, "<Window size=\"650,560\"/>");
  EXPECT_EQ(entries->at(3).content, entries->at(0).content);
  EXPECT_EQ(entries->at(4).content, std::string("\x89PNG\0\x01\x02", 7));
}

TEST_F(StubctlTest, PackSkinDoesNotPackItsOwnOutput) {
  const fs::path skin = MakeSkinFolder();
  const fs::path zip = skin / "skin.zip";
  for (int run = 0; run < 2; ++run) {
    const CommandResult result = Stubctl({"pack-skin", skin.string(), zip.string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
  }
  const auto entries = ReadZipFile(zip);
  ASSERT_TRUE(entries.has_value());
  EXPECT_EQ(Names(*entries), kPackedNames);
}

TEST_F(StubctlTest, MakeStubFromAFolderEmbedsItsPackageInARunnableCopy) {
  const fs::path skin = MakeSkinFolder();
  const fs::path stub = dir_.path() / "stub";
  const CommandResult result = Stubctl({"make-stub", TinyElf().string(), skin.string(),
                                        stub.string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;

  const std::optional<std::string> embedded = EmbeddedSkin(stub);
  ASSERT_TRUE(embedded.has_value());
  const auto entries = ReadZip(*embedded);
  ASSERT_TRUE(entries.has_value());
  EXPECT_EQ(Names(*entries), kPackedNames);

  struct stat info {};
  ASSERT_EQ(::stat(stub.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0755u);
  EXPECT_EQ(RunCommand({stub.string()}).exitCode, 42) << "the stub no longer runs";
  // The temporary package and stub are gone; the generic binary is untouched.
  EXPECT_EQ(Listing(dir_.path()), (std::set<std::string>{"secret.txt", "skin", "stub"}));
  EXPECT_FALSE(EmbeddedSkin(TinyElf()).has_value());
}

TEST_F(StubctlTest, MakeStubSectionIsNotLoaded) {
  const fs::path zip = WriteZip("skin.zip", {{"configure/configure.xml", "<VerticalLayout/>"}});
  const fs::path stub = dir_.path() / "stub";
  ASSERT_EQ(Stubctl({"make-stub", TinyElf().string(), zip.string(), stub.string()}).exitCode, 0);
  const std::vector<std::string> headers = SkinSectionHeaders(stub);
  ASSERT_EQ(headers.size(), 1u);
  // [Nr] Name Type Address Off Size ES [Flg] Lk Inf Al
  std::istringstream fields(headers[0].substr(headers[0].find(kSection)));
  std::vector<std::string> columns;
  for (std::string field; fields >> field;) columns.push_back(field);
  ASSERT_GE(columns.size(), 9u) << headers[0];
  EXPECT_EQ(columns[1], "PROGBITS");
  if (columns.size() == 10) {
    EXPECT_EQ(columns[6].find('A'), std::string::npos) << "section is loaded: " << headers[0];
  }
}

TEST_F(StubctlTest, MakeStubFromAZipEmbedsItByteForByte) {
  const fs::path zip = WriteZip("skin.zip", {{"configure/configure.xml", "<VerticalLayout/>"},
                                             {"MessageBox.xml", "<Window/>"}});
  const fs::path stub = dir_.path() / "stub";
  const CommandResult result = Stubctl({"make-stub", TinyElf().string(), zip.string(),
                                        stub.string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(EmbeddedSkin(stub), test::ReadFile(zip));
}

TEST_F(StubctlTest, MakeStubOnAStubReplacesItsSkin) {
  const fs::path first = WriteZip("first.zip", {{"configure/configure.xml", "first"}});
  const fs::path second = WriteZip("second.zip", {{"configure/configure.xml", "second, longer"}});
  const fs::path stub = dir_.path() / "stub";
  const fs::path restubbed = dir_.path() / "restubbed";
  ASSERT_EQ(Stubctl({"make-stub", TinyElf().string(), first.string(), stub.string()}).exitCode,
            0);
  ASSERT_EQ(Stubctl({"make-stub", stub.string(), second.string(), restubbed.string()}).exitCode,
            0);
  EXPECT_EQ(EmbeddedSkin(restubbed), test::ReadFile(second));
  EXPECT_EQ(SkinSectionHeaders(restubbed).size(), 1u);

  // In place: the output may be the input.
  ASSERT_EQ(Stubctl({"make-stub", stub.string(), second.string(), stub.string()}).exitCode, 0);
  EXPECT_EQ(EmbeddedSkin(stub), test::ReadFile(second));
  EXPECT_EQ(SkinSectionHeaders(stub).size(), 1u);
  EXPECT_EQ(RunCommand({stub.string()}).exitCode, 42);
}

TEST_F(StubctlTest, MakeStubWarnsWhenThePackageHasNoConfiguration) {
  const fs::path zip = WriteZip("skin.zip", {{"InstallMainWnd.xml", "<Window/>"}});
  const fs::path stub = dir_.path() / "stub";
  const CommandResult result = Stubctl({"make-stub", TinyElf().string(), zip.string(),
                                        stub.string()});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_NE(result.err.find("warning"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("configure/configure.xml"), std::string::npos) << result.err;
  EXPECT_EQ(EmbeddedSkin(stub), test::ReadFile(zip));
}

TEST_F(StubctlTest, MakeStubFailuresLeaveNoOutput) {
  const fs::path good = WriteZip("good.zip", {{"configure/configure.xml", "x"}});
  const fs::path text = dir_.Write("script.sh", "#!/bin/sh\nexit 0\n");
  const fs::path corrupt = dir_.Write("corrupt.zip", "PK\x03\x04 but no archive");
  fs::create_directory(dir_.path() / "folder");
  const std::string out = (dir_.path() / "stub").string();
  struct Case {
    const char* what;
    std::string binary;
    std::string skin;
    std::string output;
  };
  const std::vector<Case> cases{
      {"missing binary", (dir_.path() / "missing").string(), good.string(), out},
      {"binary is a folder", (dir_.path() / "folder").string(), good.string(), out},
      {"non-ELF binary", text.string(), good.string(), out},
      {"missing skin", TinyElf().string(), (dir_.path() / "missing.zip").string(), out},
      {"skin is no ZIP", TinyElf().string(), corrupt.string(), out},
      {"output folder missing", TinyElf().string(), good.string(),
       (dir_.path() / "missing" / "stub").string()},
      {"output is a folder", TinyElf().string(), good.string(), (dir_.path() / "folder").string()},
  };
  const std::set<std::string> before = Listing(dir_.path());
  for (const Case& c : cases) {
    const CommandResult result = Stubctl({"make-stub", c.binary, c.skin, c.output});
    EXPECT_EQ(result.exitCode, 1) << c.what;
    EXPECT_NE(result.err.find("error"), std::string::npos) << c.what << ": " << result.err;
    EXPECT_EQ(Listing(dir_.path()), before) << c.what;
    EXPECT_TRUE(fs::is_empty(dir_.path() / "folder")) << c.what;
  }
}

TEST_F(StubctlTest, PackSkinFailures) {
  const fs::path skin = MakeSkinFolder();
  const struct {
    const char* what;
    std::vector<std::string> args;
  } cases[] = {
      {"missing folder", {"pack-skin", (dir_.path() / "missing").string(),
                          (dir_.path() / "a.zip").string()}},
      {"unwritable output", {"pack-skin", skin.string(),
                             (dir_.path() / "missing" / "a.zip").string()}},
      {"missing argument", {"pack-skin", skin.string()}},
  };
  for (const auto& c : cases) {
    const CommandResult result = Stubctl(c.args);
    EXPECT_EQ(result.exitCode, 1) << c.what;
    EXPECT_NE(result.err.find("error"), std::string::npos) << c.what << ": " << result.err;
  }
  EXPECT_FALSE(fs::exists(dir_.path() / "a.zip"));
}

TEST(StubctlCommandLine, HelpAndUsageErrors) {
  const CommandResult help = Stubctl({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("make-stub"), std::string::npos);
  EXPECT_NE(help.out.find("pack-skin"), std::string::npos);
  EXPECT_EQ(Stubctl({}).exitCode, 1);
  const CommandResult unknown = Stubctl({"frobnicate"});
  EXPECT_EQ(unknown.exitCode, 1);
  EXPECT_NE(unknown.err.find("frobnicate"), std::string::npos);
  EXPECT_EQ(Stubctl({"make-stub", "only", "two"}).exitCode, 1);
}

}  // namespace
}  // namespace skintest

namespace {

// sysinfo reports the machine as the stub sees it: here, the UI language of
// the locale the maker runs it in.
TEST(StubctlSysinfo, ReportsTheLanguageTheStubWouldChoose) {
  const test::CommandResult result = test::RunCommand(
      {"env", "LC_ALL=", "LC_MESSAGES=", "LANG=de_AT.UTF-8", skintest::StubctlProgram().string(), "sysinfo"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  for (const char* line : {"ui language id:       0x0c07\n", "language index:       4 (de)\n",
                           "language, country:    German_Austria\n", "64-bit:               yes\n"}) {
    EXPECT_NE(result.out.find(line), std::string::npos) << line << result.out;
  }
  EXPECT_EQ(test::RunCommand({skintest::StubctlProgram().string(), "sysinfo", "extra"}).exitCode, 1);
}

}  // namespace
