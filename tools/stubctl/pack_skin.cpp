// stubctl pack-skin <skin dir> <out.zip>
#include <filesystem>
#include <iostream>

#include "commands.h"
#include "skin_package.h"

namespace stubctl {

int PackSkinCommand(const Arguments& args) {
  constexpr std::string_view kName = "pack-skin";
  if (args.size() != 2) return ReportError(kName, "usage: stubctl pack-skin <skin dir> <out.zip>");
  const std::filesystem::path folder = args[0];
  const std::filesystem::path output = args[1];
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) {
    return ReportError(kName, "skin folder not found: " + folder.string());
  }
  std::string error;
  if (!PackSkinFolder(folder, output, kName, error) || !CheckSkinPackage(output, kName, error)) {
    return ReportError(kName, error);
  }
  std::cout << "stubctl pack-skin: wrote " << output.string() << '\n';
  return 0;
}

}  // namespace stubctl
