// stubctl: the maker's tool around the generic installer stub.
#include <easylogging++.h>

#include <array>
#include <iostream>
#include <string_view>

#include "commands.h"

INITIALIZE_EASYLOGGINGPP

namespace {

struct Command {
  std::string_view name;
  std::string_view usage;
  std::string_view summary;
  int (*run)(const stubctl::Arguments&);
};

constexpr std::array kCommands{
    Command{"make-stub", "<generic binary> <skin dir or zip> <output>",
            "write a copy of the generic stub carrying the skin package",
            stubctl::MakeStubCommand},
    Command{"pack-skin", "<skin dir> <out.zip>", "zip a skin folder into a skin package",
            stubctl::PackSkinCommand},
    Command{"sysinfo", "", "print what the stub sees of this machine", stubctl::SysinfoCommand},
    Command{"sign", "--key <key> --cert <cert> [--chain <pem>] <file>",
            "append a CMS signature to a package, replacing an earlier one",
            stubctl::SignCommand},
    Command{"verify", "[--anchor <pem>] <file>",
            "check a package's appended signature as the stub does", stubctl::VerifyCommand},
    Command{"make-package",
            "--payload <dir> --out <file> [--key <key> --cert <cert>] [--installer <path>]",
            "write a self-installing package of a folder, signed when a key is given",
            stubctl::MakePackageCommand},
    Command{"md5", "<file>", "print a file's MD5 as the stub computes it, like md5sum",
            stubctl::Md5Command},
    Command{"fetch", "<url> <path> [--md5 <hex>] [--rounds <n>] [--log <file>] [--endpoints <xml>]",
            "download a package in resumable rounds as the install flow does",
            stubctl::FetchCommand},
};

void PrintUsage(std::ostream& out) {
  out << "usage: stubctl <command> [arguments]\n\ncommands:\n";
  for (const Command& command : kCommands) {
    out << "  " << command.name << ' ' << command.usage << "\n      " << command.summary
        << '\n';
  }
  out << "  --help\n      show this text\n";
}

}  // namespace

int main(int argc, char** argv) {
  // The platform library logs through easylogging++; a command-line tool
  // reports on stderr itself and keeps stdout for its results.
  el::Loggers::reconfigureAllLoggers(el::ConfigurationType::Enabled, "false");

  if (argc < 2) {
    PrintUsage(std::cerr);
    return 1;
  }
  const std::string_view name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    PrintUsage(std::cout);
    return 0;
  }
  for (const Command& command : kCommands) {
    if (command.name == name) return command.run(stubctl::Arguments(argv + 2, argv + argc));
  }
  std::cerr << "stubctl: unknown command \"" << name << "\"\n\n";
  PrintUsage(std::cerr);
  return 1;
}
