// Building and checking skin packages: the ZIP that a stub carries.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace stubctl {

// Zips every file below `folder` into `zipFile`. Entry names are relative,
// with '/' between folders, in byte order; folders are not stored. A
// symbolic link is stored as the file it names when that file lies inside
// `folder`; links leading elsewhere (or to folders) are skipped with a
// warning. `zipFile` itself is never packed, even when it lies inside.
// False with `error` set when the folder cannot be read or the ZIP written.
bool PackSkinFolder(const std::filesystem::path& folder, const std::filesystem::path& zipFile,
                    std::string_view command, std::string& error);

// False with `error` set unless `zipFile` is a readable ZIP archive; warns
// when it carries no configure/configure.xml, which every stub reads first.
bool CheckSkinPackage(const std::filesystem::path& zipFile, std::string_view command,
                      std::string& error);

}  // namespace stubctl
