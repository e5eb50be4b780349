// Where the build put what these tests examine.
#pragma once

#include <filesystem>

namespace skintest {

inline std::filesystem::path SkinDir() { return SKIN_TEST_SKIN_DIR; }
inline std::filesystem::path StubctlProgram() { return SKIN_TEST_STUBCTL; }
inline std::filesystem::path SkinArtProgram() { return SKIN_TEST_SKIN_ART; }
inline std::filesystem::path TinyElf() { return SKIN_TEST_TINY_ELF; }

}  // namespace skintest
