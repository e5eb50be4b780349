#include "installer_options.h"

#include <array>
#include <string_view>

#include "platform/ignore_case.h"
#include "platform/utf8.h"

namespace package {
namespace {

constexpr std::array<std::wstring_view, 5> kFlags{L"/VERYSILENT", L"/SILENT", L"/SP-",
                                                   L"/NORESTART", L"/SUPPRESSMSGBOXES"};

bool StartsWithIgnoreCase(std::wstring_view text, std::wstring_view prefix) {
  return text.size() >= prefix.size() &&
         platform::EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

InstallerOptions ParseInstallerOptions(const std::vector<std::string>& words) {
  InstallerOptions options;
  const std::pair<std::wstring_view, std::optional<std::string> InstallerOptions::*> values[] = {
      {L"/DIR=", &InstallerOptions::dir},
      {L"/LANG=", &InstallerOptions::language},
      {L"/LOG=", &InstallerOptions::log}};
  for (const std::string& word : words) {
    const std::wstring wide = platform::FromUtf8(word);
    bool matched = false;
    for (const auto& [prefix, field] : values) {
      if (StartsWithIgnoreCase(wide, prefix)) {
        options.*field = platform::ToUtf8(std::wstring_view(wide).substr(prefix.size()));
        matched = true;
        break;
      }
    }
    for (std::wstring_view flag : kFlags) {
      if (!matched && platform::EqualsIgnoreCase(wide, flag)) {
        options.known.push_back(word);
        matched = true;
      }
    }
    if (!matched) options.ignored.push_back(word);
  }
  return options;
}

}  // namespace package
