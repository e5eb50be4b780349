// stubctl make-package: the file it writes and the errors it gives.
#include <fcntl.h>
#include <unistd.h>
#include <zip.h>

#include <gtest/gtest.h>

#include <functional>

#include "package_fixture.h"
#include "package_layout.h"

namespace fs = std::filesystem;

namespace {

struct EntryInfo {
  zip_uint16_t method;
  bool executable;
};

// The entries of the payload ZIP inside `package`, by name.
std::map<std::string, EntryInfo> PayloadEntries(const fs::path& package) {
  const int fd = ::open(package.c_str(), O_RDONLY | O_CLOEXEC);
  std::string error;
  const auto range = package::LocatePayload(fd, fs::file_size(package), error);
  ::close(fd);
  std::map<std::string, EntryInfo> entries;
  if (!range) {
    ADD_FAILURE() << error;
    return entries;
  }
  zip_error_t zipError;
  zip_error_init(&zipError);
  zip_source_t* source = zip_source_file_create(package.c_str(), range->offset,
                                                static_cast<zip_int64_t>(range->length), &zipError);
  zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &zipError)
                          : nullptr;
  if (archive == nullptr) {
    if (source) zip_source_free(source);
    ADD_FAILURE() << zip_error_strerror(&zipError);
    zip_error_fini(&zipError);
    return entries;
  }
  for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
    zip_stat_t stat;
    zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat);
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    zip_file_get_external_attributes(archive, static_cast<zip_uint64_t>(i), 0, &system,
                                     &attributes);
    entries[stat.name] = {stat.comp_method,
                          system == ZIP_OPSYS_UNIX && ((attributes >> 16) & 0100) != 0};
  }
  zip_discard(archive);
  zip_error_fini(&zipError);
  return entries;
}

TEST(MakePackageTest, WritesInstallerThenPayloadStoringWhatDoesNotCompress) {
  test::SamplePayload payload;
  test::TempDir out;
  const fs::path package = out.path() / "setup.exe";
  const test::CommandResult made =
      test::MakePackage({"--payload", payload.dir.str(), "--out", package.string()});
  ASSERT_EQ(made.exitCode, 0) << made.err;
  EXPECT_EQ(made.out.rfind("stubctl make-package: wrote " + package.string(), 0), 0u) << made.out;
  EXPECT_TRUE(test::IsExecutable(package));
  const std::string installer = test::ReadFile(PACKAGE_INSTALLER);
  EXPECT_EQ(test::ReadFile(package).substr(0, installer.size()), installer);
  // No temporary file is left beside the package.
  EXPECT_EQ(test::ListTree(out.path()), std::set<std::string>{"setup.exe"});

  const std::map<std::string, EntryInfo> entries = PayloadEntries(package);
  ASSERT_EQ(entries.size(), 7u);
  EXPECT_EQ(entries.at("data/blob.bin").method, ZIP_CM_STORE);
  EXPECT_EQ(entries.at("data/notes.txt").method, ZIP_CM_DEFLATE);
  EXPECT_TRUE(entries.at("bin/tool").executable);
  EXPECT_FALSE(entries.at("data/notes.txt").executable);
  EXPECT_EQ(entries.count("share/empty/"), 1u);
}

struct Refusal {
  const char* name;
  // The arguments after "make-package", given the payload and a scratch folder.
  std::function<std::vector<std::string>(const test::SamplePayload&, const test::TempDir&)> args;
  const char* message;
};

const Refusal kRefusals[] = {
    {"missing payload folder",
     [](const test::SamplePayload&, const test::TempDir& t) {
       return std::vector<std::string>{"--payload", t.File("missing"), "--out", t.File("p.exe")};
     },
     "make-package: error: payload folder not found: "},
    {"payload of empty folders",
     [](const test::SamplePayload&, const test::TempDir& t) {
       fs::create_directories(t.path() / "empty/inner");
       return std::vector<std::string>{"--payload", t.File("empty"), "--out", t.File("p.exe")};
     },
     "holds no file"},
    {"payload holding a link",
     [](const test::SamplePayload&, const test::TempDir& t) {
       t.Write("linked/real.txt", "real");
       fs::create_symlink("real.txt", t.path() / "linked/link.txt");
       return std::vector<std::string>{"--payload", t.File("linked"), "--out", t.File("p.exe")};
     },
     "which is neither a file nor a folder"},
    {"output in a missing folder",
     [](const test::SamplePayload& p, const test::TempDir& t) {
       return std::vector<std::string>{"--payload", p.dir.str(), "--out", t.File("none/p.exe")};
     },
     "make-package: error: cannot write in "},
    {"output is a folder",
     [](const test::SamplePayload& p, const test::TempDir& t) {
       return std::vector<std::string>{"--payload", p.dir.str(), "--out", t.str()};
     },
     "is a folder"},
    {"installer that is no program",
     [](const test::SamplePayload& p, const test::TempDir& t) {
       return std::vector<std::string>{"--payload", p.dir.str(), "--out", t.File("p.exe"),
                                       "--installer", p.dir.File("data/notes.txt")};
     },
     "installer program not found or not an ELF64 executable"},
    {"key without certificate",
     [](const test::SamplePayload& p, const test::TempDir& t) {
       return std::vector<std::string>{"--payload", p.dir.str(), "--out", t.File("p.exe"),
                                       "--key", std::string(DEMO_STAGE_DIR) + "/signer.key"};
     },
     "usage: stubctl make-package"},
    {"certificate that is no key",
     [](const test::SamplePayload& p, const test::TempDir& t) {
       const std::string cert = std::string(DEMO_STAGE_DIR) + "/signer.pem";
       return std::vector<std::string>{"--payload", p.dir.str(), "--out", t.File("p.exe"),
                                       "--key", cert, "--cert", cert};
     },
     "the package was not signed"},
    {"unknown option",
     [](const test::SamplePayload& p, const test::TempDir& t) {
       return std::vector<std::string>{"--payload", p.dir.str(), "--out", t.File("p.exe"), "-v"};
     },
     "usage: stubctl make-package"},
};

TEST(MakePackageTest, RefusesBadInputAndWritesNothing) {
  test::SamplePayload payload;
  for (const Refusal& refusal : kRefusals) {
    SCOPED_TRACE(refusal.name);
    test::TempDir scratch;
    const std::vector<std::string> args = refusal.args(payload, scratch);
    const std::set<std::string> before = test::ListTree(scratch.path());
    const test::CommandResult made = test::MakePackage(args);
    EXPECT_EQ(made.exitCode, 1);
    EXPECT_NE(made.err.find(refusal.message), std::string::npos) << made.err;
    EXPECT_EQ(test::ListTree(scratch.path()), before);
  }
}

TEST(MakePackageTest, ReplacesAnEarlierPackageOnlyWhenItSucceeds) {
  test::SamplePayload payload;
  test::TempDir out;
  const fs::path package = out.Write("setup.exe", "the earlier package");
  const std::string cert = std::string(DEMO_STAGE_DIR) + "/signer.pem";
  const test::CommandResult refused = test::MakePackage(
      {"--payload", payload.dir.str(), "--out", package.string(), "--key", cert, "--cert", cert});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(test::ReadFile(package), "the earlier package");
  const test::CommandResult made =
      test::MakePackage({"--payload", payload.dir.str(), "--out", package.string()});
  ASSERT_EQ(made.exitCode, 0) << made.err;
  EXPECT_EQ(PayloadEntries(package).size(), 7u);
}

}  // namespace
