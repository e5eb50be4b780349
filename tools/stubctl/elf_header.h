// The kind of executable a stub can be made from: the stub reads its skin
// back with a reader that understands ELF64 little-endian files only.
#pragma once

#include <filesystem>

namespace stubctl {

// True when the file starts with an ELF64 little-endian identification.
bool IsElf64LittleEndian(const std::filesystem::path& file);

}  // namespace stubctl
