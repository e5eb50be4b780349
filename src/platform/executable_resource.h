// Resources embedded in an executable, standing in for FindResource /
// LoadResource / LockResource on the program's own module.
//
// Linux: a resource of type T and id N is the ELF section ".T.N" (e.g.
// ".ZIPRES.138"), added after linking with
//   objcopy --add-section .ZIPRES.138=payload.zip stub stub.out
// Such sections are not part of any loaded segment, so they are read from the
// file on every call instead of from mapped memory: callers get their own
// copy rather than a pointer into the image. Only ELF64 little-endian files
// are understood. Sections over 256 MiB are refused.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

// Contents of the section `sectionName` of the ELF file `file`; nullopt when
// the file is missing, no ELF64 little-endian file, truncated or inconsistent,
// has no such section, the section occupies no file space (SHT_NOBITS), or it
// is too large. An empty section gives an empty vector. The first section of
// that name wins.
std::optional<std::vector<unsigned char>> ReadElfSection(
    const std::wstring& file, const std::string& sectionName);

// Resource `type`/`id` of the running executable (GetExecutablePath()).
std::optional<std::vector<unsigned char>> LoadExecutableResource(
    const std::string& type, int id);

}  // namespace platform
