// The user's UI language as a Windows language identifier (LANGID), the
// value GetUserDefaultUILanguage gives, so that the program's language
// tables keep working unchanged.
//
// Linux: derived from a POSIX locale name ("de_AT.UTF-8@euro"). The region
// selects the sublanguage; a language without a known region gets the
// identifier of its main variety (fr -> 0x040C, zh -> 0x0804, es -> 0x0C0A).
// A few modifiers pick scripts and sort orders that Windows gives their own
// identifiers: sr_RS@latin, uz_UZ@cyrillic, az_AZ@cyrillic, and the
// otherwise unreachable es_ES@traditional and lt_LT@classic. "C", "POSIX",
// empty and unknown names give 0x0409 (English, United States). The
// identifiers 0x0000 (neutral) and 0x0400 (process default) name no
// language and are never returned.
#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

std::uint16_t LanguageIdFromLocaleName(std::string_view localeName);

// The locale of LC_ALL, else LC_MESSAGES, else LANG (the first one set and
// not empty), mapped with LanguageIdFromLocaleName.
std::uint16_t UiLanguageIdFromEnvironment();

}  // namespace platform
