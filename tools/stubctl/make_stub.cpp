// stubctl make-stub <generic binary> <skin dir or zip> <output>
//
// The stub finds its skin package in the ELF section ".ZIPRES.138"; the
// section is kept out of every loaded segment, so it costs no memory until
// the stub reads it from its own file.
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <vector>

#include "child_process.h"
#include "commands.h"
#include "elf_header.h"
#include "platform/executable_resource.h"
#include "platform/utf8.h"
#include "skin_package.h"
#include "temp_file.h"

namespace fs = std::filesystem;

namespace stubctl {
namespace {

constexpr std::string_view kName = "make-stub";
constexpr const char* kSection = ".ZIPRES.138";

std::optional<std::vector<unsigned char>> ReadWholeFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
  return bytes;
}

// OBJCOPY in the environment overrides the objcopy found in PATH.
std::string ObjcopyProgram() {
  const char* chosen = std::getenv("OBJCOPY");
  return chosen != nullptr && *chosen != '\0' ? chosen : "objcopy";
}

bool EmbedSkin(const fs::path& binary, const fs::path& package, const fs::path& output,
               std::string& error) {
  const std::string section = kSection;
  const int status = RunProgram({ObjcopyProgram(), "--remove-section", section, "--add-section",
                                 section + "=" + package.string(), "--set-section-flags",
                                 section + "=noload,readonly", binary.string(),
                                 output.string()});
  if (status != 0) {
    error = status < 0 ? "objcopy could not be run" : "objcopy failed";
    return false;
  }
  if (::chmod(output.c_str(), 0755) != 0) {
    error = "cannot make " + output.string() + " executable";
    return false;
  }
  const std::optional<std::vector<unsigned char>> expected = ReadWholeFile(package);
  const std::optional<std::vector<unsigned char>> embedded =
      platform::ReadElfSection(platform::FromUtf8(output.string()), section);
  if (!expected || !embedded || *expected != *embedded) {
    error = "the " + section + " section read back from the new stub differs from the skin";
    return false;
  }
  return true;
}

}  // namespace

int MakeStubCommand(const Arguments& args) {
  if (args.size() != 3) {
    return ReportError(kName, "usage: stubctl make-stub <generic binary> <skin dir or zip> "
                              "<output>");
  }
  const fs::path binary = args[0];
  const fs::path skin = args[1];
  const fs::path output = args[2];

  std::error_code ec;
  if (!fs::is_regular_file(binary, ec)) {
    return ReportError(kName, "generic binary not found: " + binary.string());
  }
  if (!IsElf64LittleEndian(binary)) {
    return ReportError(kName, binary.string() + " is no ELF64 little-endian executable");
  }
  const bool skinIsFolder = fs::is_directory(skin, ec);
  if (!skinIsFolder && !fs::is_regular_file(skin, ec)) {
    return ReportError(kName, "skin not found: " + skin.string());
  }
  if (fs::is_directory(output, ec)) {
    return ReportError(kName, "output " + output.string() + " is a folder");
  }

  std::string error;
  std::optional<TempFile> packed =
      skinIsFolder ? TempFile::CreateBeside(output, "skin", error) : std::nullopt;
  if (skinIsFolder && (!packed || !PackSkinFolder(skin, packed->Path(), kName, error))) {
    return ReportError(kName, error);
  }
  const fs::path package = packed ? packed->Path() : skin;
  if (!CheckSkinPackage(package, kName, error)) return ReportError(kName, error);

  std::optional<TempFile> stub = TempFile::CreateBeside(output, "stub", error);
  if (!stub || !EmbedSkin(binary, package, stub->Path(), error) ||
      !stub->CommitTo(output, error)) {
    return ReportError(kName, error);
  }
  std::cout << "stubctl make-stub: wrote " << output.string() << '\n';
  return 0;
}

}  // namespace stubctl
