// The installer at the front of a package, run as the stub runs it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>

#include "fixtures/zip_bytes.h"
#include "package_fixture.h"
#include "package_layout.h"
#include "platform/utf8.h"

namespace fs = std::filesystem;

namespace {

using test::ListTree;
using test::LogTexts;
using test::ReadFile;
using test::StubSwitches;

constexpr std::size_t kSampleFiles = 3;

// One package and the paths of one run, in a sandbox of their own.
struct InstallRun {
  test::SamplePayload payload;
  test::TempDir sandbox;
  fs::path package = sandbox.path() / "setup.exe";
  fs::path dir = sandbox.path() / "Program Files" / "Brisko";
  fs::path log = sandbox.path() / "install log.txt";
  std::vector<std::string> wrapper;

  InstallRun() {
    const test::CommandResult made =
        test::MakePackage({"--payload", payload.dir.str(), "--out", package.string()});
    if (made.exitCode != 0) ADD_FAILURE() << made.err;
  }

  package::PayloadRange Payload() const {
    const int fd = ::open(package.c_str(), O_RDONLY | O_CLOEXEC);
    std::string error;
    const auto range = package::LocatePayload(fd, fs::file_size(package), error);
    ::close(fd);
    if (!range) ADD_FAILURE() << error;
    return range.value_or(package::PayloadRange{});
  }

  // The installer with a payload ZIP made here, whatever its entries.
  void ReplacePayload(const std::map<std::string, std::string>& entries) {
    const std::vector<unsigned char> zip = test::MakeZip(entries);
    test::WriteFile(package, ReadFile(PACKAGE_INSTALLER) + std::string(zip.begin(), zip.end()) +
                                 package::MakePayloadTrailer(zip.size()));
    fs::permissions(package, fs::perms::owner_all);
  }

  void ChangeBytes(const std::function<void(std::string&)>& change) {
    std::string bytes = ReadFile(package);
    change(bytes);
    test::WriteFile(package, bytes);
  }
};

void ExpectSampleInstalled(const InstallRun& run) {
  EXPECT_EQ(ReadFile(run.dir / "bin/tool"), run.payload.tool);
  EXPECT_EQ(ReadFile(run.dir / "data/blob.bin"), run.payload.blob);
  EXPECT_EQ(ReadFile(run.dir / "data/notes.txt"), run.payload.notes);
  EXPECT_TRUE(test::IsExecutable(run.dir / "bin/tool"));
  EXPECT_FALSE(test::IsExecutable(run.dir / "data/notes.txt"));
  // Nothing else, in particular no temporary file left behind.
  EXPECT_EQ(ListTree(run.dir),
            (std::set<std::string>{"bin/", "bin/tool", "data/", "data/blob.bin",
                                   "data/notes.txt", "share/", "share/empty/"}));
}

TEST(InstallTest, InstallsEveryFileAndLogsTheRun) {
  InstallRun run;
  const test::CommandResult result = test::RunPackage(run.package, StubSwitches(run.dir, run.log));
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err, "");
  ExpectSampleInstalled(run);

  const std::vector<std::string> log = LogTexts(run.log);
  const std::vector<std::string> expected = {
      "Setup started: " + run.package.string(),
      "Switch: /VERYSILENT",
      "Switch: /SP-",
      "Switch: /NORESTART",
      "Installation folder: " + run.dir.string(),
      "Language: en",
      "Log file: " + run.log.string(),
      "Ignored switch: /sptrack",
      "Ignored switch: null",
      "Installed: bin/tool (" + std::to_string(run.payload.tool.size()) + " bytes)",
      "Installed: data/blob.bin (" + std::to_string(run.payload.blob.size()) + " bytes)",
      "Installed: data/notes.txt (" + std::to_string(run.payload.notes.size()) + " bytes)",
      "Installation finished: " + std::to_string(kSampleFiles) + " files, " +
          std::to_string(run.payload.tool.size() + run.payload.blob.size() +
                         run.payload.notes.size()) +
          " bytes in " + run.dir.string()};
  EXPECT_EQ(log, expected);
}

TEST(InstallTest, MatchesSwitchesIgnoringCaseAndWritesNoLogWithoutLog) {
  InstallRun run;
  const test::CommandResult result = test::RunPackage(
      run.package, L" /verysilent /Sp- /suppressMsgBoxes /dir=\"" +
                       platform::FromUtf8(run.dir.string()) + L"\" /Lang=de");
  ASSERT_EQ(result.exitCode, 0) << result.err;
  ExpectSampleInstalled(run);
  EXPECT_FALSE(fs::exists(run.log));
  EXPECT_EQ(ListTree(run.sandbox.path()).count("install log.txt"), 0u);
}

TEST(InstallTest, ReinstallReplacesChangedFiles) {
  InstallRun run;
  ASSERT_EQ(test::RunPackage(run.package, StubSwitches(run.dir, run.log)).exitCode, 0);
  test::WriteFile(run.dir / "data/notes.txt", "edited by the user");
  fs::permissions(run.dir / "bin/tool", fs::perms::owner_read);
  const test::CommandResult again = test::RunPackage(run.package, StubSwitches(run.dir, run.log));
  ASSERT_EQ(again.exitCode, 0) << again.err;
  ExpectSampleInstalled(run);
}

TEST(InstallTest, RunWithoutSwitchesPrintsUsage) {
  InstallRun run;
  const std::set<std::string> before = ListTree(run.sandbox.path());
  const test::CommandResult result = test::RunPackage(run.package, L"");
  EXPECT_NE(result.exitCode, 0);
  EXPECT_EQ(result.err.rfind("usage: setup.exe /DIR=<folder>", 0), 0u) << result.err;
  EXPECT_EQ(ListTree(run.sandbox.path()), before);
}

struct Failure {
  const char* name;
  // Spoils the run (its package, its folders) and gives the switches.
  std::function<std::wstring(InstallRun&)> prepare;
  const char* message;
  bool logged = true;
  bool needsNonRoot = false;
};

const Failure kFailures[] = {
    {"no /DIR",
     [](InstallRun& r) {
       return L" /VERYSILENT /SP- /LANG=en /LOG=\"" + platform::FromUtf8(r.log.string()) + L"\"";
     },
     "no installation folder given (/DIR=<folder>)"},
    {"folder below a plain file",
     [](InstallRun& r) {
       r.sandbox.Write("plain file", "x");
       r.dir = r.sandbox.path() / "plain file" / "Brisko";
       return StubSwitches(r.dir, r.log);
     },
     "cannot create the installation folder"},
    {"read-only parent folder",
     [](InstallRun& r) {
       fs::create_directories(r.dir.parent_path());
       fs::permissions(r.dir.parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
       return StubSwitches(r.dir, r.log);
     },
     "cannot create the installation folder", true, true},
    {"file-size limit, as on a full disk",
     [](InstallRun& r) {
       // 8 blocks: the log and the small files fit, the blob does not.
       r.wrapper = {"/bin/sh", "-c", "ulimit -f 8 && exec \"$0\" \"$@\""};
       return StubSwitches(r.dir, r.log);
     },
     "blob.bin: File too large"},
    {"damaged byte inside the payload",
     [](InstallRun& r) {
       const package::PayloadRange range = r.Payload();
       r.ChangeBytes([&](std::string& b) { b[range.offset + range.length / 2] ^= 0x55; });
       return StubSwitches(r.dir, r.log);
     },
     "the payload is corrupt: CRC error"},
    {"damaged end of the ZIP",
     [](InstallRun& r) {
       const package::PayloadRange range = r.Payload();
       r.ChangeBytes([&](std::string& b) {
         b.replace(range.offset + range.length - 22, 22, std::string(22, '\0'));
       });
       return StubSwitches(r.dir, r.log);
     },
     "the payload is corrupt"},
    {"truncated package",
     [](InstallRun& r) {
       r.ChangeBytes([](std::string& b) { b.resize(b.size() - 1000); });
       return StubSwitches(r.dir, r.log);
     },
     "the package carries no payload"},
    {"payload length beyond the file",
     [](InstallRun& r) {
       r.ChangeBytes([](std::string& b) {
         b.replace(b.size() - package::kPayloadTrailerSize, package::kPayloadTrailerSize,
                   package::MakePayloadTrailer(b.size()));
       });
       return StubSwitches(r.dir, r.log);
     },
     "payload length does not fit the file"},
    {"installer without payload",
     [](InstallRun& r) {
       r.ChangeBytes([](std::string& b) { b = ReadFile(PACKAGE_INSTALLER); });
       return StubSwitches(r.dir, r.log);
     },
     "the package carries no payload"},
    {"entry climbing out of DIR",
     [](InstallRun& r) {
       r.ReplacePayload({{"fine.txt", "fine"}, {"sub/../../escape.txt", "escaped"}});
       return StubSwitches(r.dir, r.log);
     },
     "the payload entry \"sub/../../escape.txt\" points outside the installation folder"},
    {"absolute entry",
     [](InstallRun& r) {
       r.ReplacePayload({{"fine.txt", "fine"},
                         {(r.sandbox.path() / "absolute.txt").string(), "escaped"}});
       return StubSwitches(r.dir, r.log);
     },
     "points outside the installation folder"},
    {"a quote before the closing quote swallows the later switches",
     [](InstallRun& r) {
       return L" /VERYSILENT /SP- /NORESTART /DIR=\"" + platform::FromUtf8(r.dir.string()) +
              L"\\\" /LANG=en /LOG=\"" + platform::FromUtf8(r.log.string()) + L"\" /sptrack null";
     },
     "contains a quote: the command line is quoted wrongly", false},
    {"log in a missing folder",
     [](InstallRun& r) {
       r.log = r.sandbox.path() / "no such folder" / "install.log";
       return StubSwitches(r.dir, r.log);
     },
     "cannot write the log file", false},
};

TEST(InstallTest, RefusesAndWritesNothingOutsideDir) {
  for (const Failure& failure : kFailures) {
    SCOPED_TRACE(failure.name);
    if (failure.needsNonRoot && ::geteuid() == 0) continue;  // root writes anyway
    InstallRun run;
    const std::wstring switches = failure.prepare(run);
    const std::set<std::string> before = ListTree(run.sandbox.path());
    const test::CommandResult result = test::RunPackage(run.package, switches, run.wrapper);

    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line: " << result.err;
    EXPECT_EQ(result.err.rfind("setup.exe: ", 0), 0u) << result.err;
    EXPECT_NE(result.err.find(failure.message), std::string::npos) << result.err;
    if (failure.logged) {
      const std::vector<std::string> log = LogTexts(run.log);
      ASSERT_FALSE(log.empty());
      EXPECT_EQ(log.back().rfind("Installation failed: ", 0), 0u) << log.back();
      EXPECT_EQ("setup.exe: " + log.back().substr(21) + "\n", result.err);
    }
    // `before` was taken after `prepare`, so it holds nothing of DIR yet.
    std::set<std::string> after = ListTree(run.sandbox.path());
    std::erase_if(after, [&](const std::string& name) {
      const fs::path path = run.sandbox.path() / name;
      return path == run.log || path.string().starts_with(run.dir.string() + "/") ||
             path == run.dir;
    });
    EXPECT_EQ(after, before);
    for (const std::string& name : ListTree(run.dir)) {
      EXPECT_TRUE(name.ends_with("/")) << name << " was written into DIR";
    }
  }
}

TEST(InstallTest, SignedPackageVerifiesAndInstalls) {
  InstallRun run;
  const std::string demo = DEMO_STAGE_DIR;
  const fs::path signedPackage = run.sandbox.path() / "signed setup.exe";
  const test::CommandResult made = test::MakePackage(
      {"--payload", run.payload.dir.str(), "--out", signedPackage.string(), "--key",
       demo + "/signer.key", "--cert", demo + "/signer.pem"});
  ASSERT_EQ(made.exitCode, 0) << made.err;
  const test::CommandResult verified = test::RunCommand(
      {STUBCTL_PROGRAM, "verify", "--anchor", demo + "/ca.pem", signedPackage.string()});
  EXPECT_EQ(verified.exitCode, 0) << verified.out;
  run.package = signedPackage;
  const test::CommandResult result = test::RunPackage(run.package, StubSwitches(run.dir, run.log));
  ASSERT_EQ(result.exitCode, 0) << result.err;
  ExpectSampleInstalled(run);
}

TEST(InstallTest, DemoPackageVerifiesInstallsAndRuns) {
  const std::string demo = DEMO_STAGE_DIR;
  const fs::path package = demo + "/demo-setup.exe";
  const test::CommandResult verified =
      test::RunCommand({STUBCTL_PROGRAM, "verify", "--anchor", demo + "/ca.pem", package.string()});
  EXPECT_EQ(verified.exitCode, 0) << verified.out;
  EXPECT_GT(fs::file_size(package), 32u << 20);

  test::TempDir sandbox;
  const fs::path dir = sandbox.path() / "Demo Folder" / "Brisko";
  const test::CommandResult result =
      test::RunPackage(package, StubSwitches(dir, sandbox.path() / "demo log.txt"));
  ASSERT_EQ(result.exitCode, 0) << result.err;
  ASSERT_TRUE(test::IsExecutable(dir / "bin/brisko"));
  const test::CommandResult version = test::RunCommand({(dir / "bin/brisko").string(), "--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, "Brisko 1.0.0.0 (demo product)\n");
  const test::CommandResult headless = test::RunCommand(
      {"env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", (dir / "bin/brisko").string()});
  EXPECT_EQ(headless.exitCode, 0) << headless.err;
  EXPECT_EQ(headless.out, "The Brisko demo product is running (no display).\n");
}

}  // namespace
