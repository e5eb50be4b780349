#include "system/find_file.h"

#include <filesystem>
#include <system_error>

#include "platform/paths.h"
#include "platform/utf8.h"

namespace fs = std::filesystem;

std::wstring FindFileInSubfolders(const std::wstring& folder, const std::wstring& fileName) {
  if (folder.empty() || fileName.empty()) return {};
  const std::wstring base = folder.ends_with(L'/') ? folder : folder + L'/';
  std::error_code error;
  fs::directory_iterator entries(platform::ToUtf8(base),
                                 fs::directory_options::skip_permission_denied, error);
  for (const fs::directory_iterator end; !error && entries != end; entries.increment(error)) {
    const fs::directory_entry& entry = *entries;
    std::error_code typeError;
    if (entry.is_symlink(typeError) || !entry.is_directory(typeError)) continue;
    const std::wstring subfolder =
        base + platform::FromUtf8(entry.path().filename().string()) + L"/";
    if (platform::PathExists(subfolder + fileName)) return subfolder + fileName;
    std::wstring found = FindFileInSubfolders(subfolder, fileName);
    if (!found.empty()) return found;
  }
  return {};
}
