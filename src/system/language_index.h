#pragma once
// The language index 0..19 orders every language-dependent table of the stub
// (names, files, licence controls, codes, installer languages).

#include <cstdint>
#include <string>

constexpr int kLanguageCount = 20;

// Index of a Windows language identifier; 0 for identifiers not listed.
int LanguageIndexOfLanguageId(std::uint16_t languageId);

// Index of the user's UI language.
int GetDefaultLanguageIndex();

// The stub's own language codes ("my", "se" and "cz" are not ISO codes but go
// out in analytics as they are); "en" for indexes outside 0..19.
std::string GetLanguageCode(int languageIndex);
