#pragma once
// Language-and-country names ("German_Austria") of Windows language
// identifiers, as the analytics report the user's UI language.

#include <cstdint>
#include <string>

// The name of `languageId`; an identifier without a name gives its hex
// text twice, "0x0c0b_0x0c0b", so that both halves of a split stay equal.
std::string LanguageCountryNameOf(std::uint16_t languageId);

// The name of the user's UI language.
std::string GetLanguageCountryName();
