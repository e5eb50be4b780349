// package-installer: the program at the front of every self-installing
// package (package_layout.h). It installs the payload appended to its own
// file into the folder named by /DIR= and exits 0 when done.
#include <easylogging++.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "install_log.h"
#include "installer_options.h"
#include "package_layout.h"
#include "payload_installer.h"
#include "platform/paths.h"
#include "platform/utf8.h"

INITIALIZE_EASYLOGGINGPP

namespace {

// /proc/self/exe opens this very file even when it was renamed or replaced.
constexpr const char* kSelf = "/proc/self/exe";

void PrintUsage(const std::string& name) {
  std::cerr << "usage: " << name
            << " /DIR=<folder> [/LANG=<xx>] [/LOG=<file>] [/VERYSILENT] [/SILENT] [/SP-]"
               " [/NORESTART] [/SUPPRESSMSGBOXES]\n"
               "Installs the product carried in this package into <folder>.\n";
}

std::optional<package::PayloadRange> FindOwnPayload(std::string& error) {
  const int fd = ::open(kSelf, O_RDONLY | O_CLOEXEC);
  struct stat info {};
  if (fd < 0 || ::fstat(fd, &info) != 0) {
    error = std::string("cannot read the package: ") + std::strerror(errno);
    if (fd >= 0) ::close(fd);
    return std::nullopt;
  }
  std::optional<package::PayloadRange> range =
      package::LocatePayload(fd, static_cast<std::uint64_t>(info.st_size), error);
  ::close(fd);
  return range;
}

}  // namespace

int main(int argc, char** argv) {
  // A file-size limit then fails the write (EFBIG) and is reported like a
  // full disk instead of killing the installer halfway.
  std::signal(SIGXFSZ, SIG_IGN);
  // The platform library logs through easylogging++; the installer's own
  // log is the /LOG file, and its terminal output the one error line.
  el::Loggers::reconfigureAllLoggers(el::ConfigurationType::Enabled, "false");
  const std::string name =
      argc > 0 ? std::filesystem::path(argv[0]).filename().string() : "package-installer";
  const std::vector<std::string> words(argv + std::min(argc, 1), argv + argc);
  if (words.empty()) {
    PrintUsage(name);
    return 2;
  }
  const package::InstallerOptions options = package::ParseInstallerOptions(words);

  package::InstallLog log;
  std::string error;
  if (options.log && !log.Open(*options.log, error)) {
    std::cerr << name << ": " << error << '\n';
    return 1;
  }
  const auto fail = [&](const std::string& message) {
    log.Line("Installation failed: " + message);
    std::cerr << name << ": " << message << '\n';
    return 1;
  };
  log.Line("Setup started: " + platform::ToUtf8(platform::GetExecutablePath()));
  for (const std::string& flag : options.known) log.Line("Switch: " + flag);
  if (options.dir) log.Line("Installation folder: " + *options.dir);
  if (options.language) log.Line("Language: " + *options.language);
  if (options.log) log.Line("Log file: " + *options.log);
  for (const std::string& word : options.ignored) log.Line("Ignored switch: " + word);

  if (!options.dir || options.dir->empty()) {
    return fail("no installation folder given (/DIR=<folder>)");
  }
  // A quote in the folder means a caller wrote \" before the closing quote,
  // which swallows the switches after it; installing there would scatter the
  // product into a folder named after them.
  if (options.dir->find('"') != std::string::npos) {
    return fail("the installation folder \"" + *options.dir +
                "\" contains a quote: the command line is quoted wrongly");
  }
  const std::optional<package::PayloadRange> payload = FindOwnPayload(error);
  if (!payload) return fail(error);
  const std::filesystem::path dir = std::filesystem::absolute(*options.dir);
  package::InstallTotals totals;
  if (!package::InstallPayload(kSelf, *payload, dir, log, totals, error)) return fail(error);
  log.Line("Installation finished: " + std::to_string(totals.files) + " files, " +
           std::to_string(totals.bytes) + " bytes in " + dir.string());
  return 0;
}
