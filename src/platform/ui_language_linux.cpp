#include "platform/ui_language.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iterator>
#include <string>
#include <tuple>

namespace platform {
namespace {

constexpr std::uint16_t kEnglishUnitedStates = 0x0409;

struct LocaleLanguage {
  std::string_view language;  // lower case, as in locale names
  std::string_view region;    // upper case; empty: the language's main variety
  std::string_view modifier;  // after '@', lower case
  std::uint16_t id;

  constexpr auto Key() const { return std::tie(language, region, modifier); }
};

// Sorted by language, region, modifier for binary search.
constexpr LocaleLanguage kLanguages[] = {
    {"af", "", "", 0x0436},
    {"af", "ZA", "", 0x0436},
    {"ar", "", "", 0x0401},
    {"ar", "AE", "", 0x3801},
    {"ar", "BH", "", 0x3C01},
    {"ar", "DZ", "", 0x1401},
    {"ar", "EG", "", 0x0C01},
    {"ar", "IQ", "", 0x0801},
    {"ar", "JO", "", 0x2C01},
    {"ar", "KW", "", 0x3401},
    {"ar", "LB", "", 0x3001},
    {"ar", "LY", "", 0x1001},
    {"ar", "MA", "", 0x1801},
    {"ar", "OM", "", 0x2001},
    {"ar", "QA", "", 0x4001},
    {"ar", "SA", "", 0x0401},
    {"ar", "SY", "", 0x2801},
    {"ar", "TN", "", 0x1C01},
    {"ar", "YE", "", 0x2401},
    {"as", "", "", 0x044D},
    {"as", "IN", "", 0x044D},
    {"az", "", "", 0x042C},
    {"az", "", "cyrillic", 0x082C},
    {"az", "AZ", "", 0x042C},
    {"az", "AZ", "cyrillic", 0x082C},
    {"be", "", "", 0x0423},
    {"be", "BY", "", 0x0423},
    {"bg", "", "", 0x0402},
    {"bg", "BG", "", 0x0402},
    {"bn", "", "", 0x0445},
    {"bn", "IN", "", 0x0445},
    {"ca", "", "", 0x0403},
    {"ca", "ES", "", 0x0403},
    {"cs", "", "", 0x0405},
    {"cs", "CZ", "", 0x0405},
    {"da", "", "", 0x0406},
    {"da", "DK", "", 0x0406},
    {"de", "", "", 0x0407},
    {"de", "AT", "", 0x0C07},
    {"de", "CH", "", 0x0807},
    {"de", "DE", "", 0x0407},
    {"de", "LI", "", 0x1407},
    {"de", "LU", "", 0x1007},
    {"dv", "", "", 0x0465},
    {"dv", "MV", "", 0x0465},
    {"el", "", "", 0x0408},
    {"el", "GR", "", 0x0408},
    {"en", "", "", 0x0409},
    {"en", "029", "", 0x2409},
    {"en", "AG", "", 0x2409},
    {"en", "AU", "", 0x0C09},
    {"en", "BZ", "", 0x2809},
    {"en", "CA", "", 0x1009},
    {"en", "GB", "", 0x0809},
    {"en", "IE", "", 0x1809},
    {"en", "JM", "", 0x2009},
    {"en", "NZ", "", 0x1409},
    {"en", "PH", "", 0x3409},
    {"en", "TT", "", 0x2C09},
    {"en", "US", "", 0x0409},
    {"en", "ZA", "", 0x1C09},
    {"en", "ZW", "", 0x3009},
    {"es", "", "", 0x0C0A},
    {"es", "AR", "", 0x2C0A},
    {"es", "BO", "", 0x400A},
    {"es", "CL", "", 0x340A},
    {"es", "CO", "", 0x240A},
    {"es", "CR", "", 0x140A},
    {"es", "DO", "", 0x1C0A},
    {"es", "EC", "", 0x300A},
    {"es", "ES", "", 0x0C0A},
    {"es", "ES", "traditional", 0x040A},
    {"es", "GT", "", 0x100A},
    {"es", "HN", "", 0x480A},
    {"es", "MX", "", 0x080A},
    {"es", "NI", "", 0x4C0A},
    {"es", "PA", "", 0x180A},
    {"es", "PE", "", 0x280A},
    {"es", "PR", "", 0x500A},
    {"es", "PY", "", 0x3C0A},
    {"es", "SV", "", 0x440A},
    {"es", "UY", "", 0x380A},
    {"es", "VE", "", 0x200A},
    {"et", "", "", 0x0425},
    {"et", "EE", "", 0x0425},
    {"eu", "", "", 0x042D},
    {"eu", "ES", "", 0x042D},
    {"fa", "", "", 0x0429},
    {"fa", "IR", "", 0x0429},
    {"fi", "", "", 0x040B},
    {"fi", "FI", "", 0x040B},
    {"fo", "", "", 0x0438},
    {"fo", "FO", "", 0x0438},
    {"fr", "", "", 0x040C},
    {"fr", "BE", "", 0x080C},
    {"fr", "CA", "", 0x0C0C},
    {"fr", "CH", "", 0x100C},
    {"fr", "FR", "", 0x040C},
    {"fr", "LU", "", 0x140C},
    {"fr", "MC", "", 0x180C},
    {"gl", "", "", 0x0456},
    {"gl", "ES", "", 0x0456},
    {"gu", "", "", 0x0447},
    {"gu", "IN", "", 0x0447},
    {"he", "", "", 0x040D},
    {"he", "IL", "", 0x040D},
    {"hi", "", "", 0x0439},
    {"hi", "IN", "", 0x0439},
    {"hr", "", "", 0x041A},
    {"hr", "HR", "", 0x041A},
    {"hu", "", "", 0x040E},
    {"hu", "HU", "", 0x040E},
    {"hy", "", "", 0x042B},
    {"hy", "AM", "", 0x042B},
    {"id", "", "", 0x0421},
    {"id", "ID", "", 0x0421},
    {"in", "", "", 0x0421},
    {"in", "ID", "", 0x0421},
    {"is", "", "", 0x040F},
    {"is", "IS", "", 0x040F},
    {"it", "", "", 0x0410},
    {"it", "CH", "", 0x0810},
    {"it", "IT", "", 0x0410},
    {"iw", "", "", 0x040D},
    {"iw", "IL", "", 0x040D},
    {"ja", "", "", 0x0411},
    {"ja", "JP", "", 0x0411},
    {"ka", "", "", 0x0437},
    {"ka", "GE", "", 0x0437},
    {"kk", "", "", 0x043F},
    {"kk", "KZ", "", 0x043F},
    {"kn", "", "", 0x044B},
    {"kn", "IN", "", 0x044B},
    {"ko", "", "", 0x0412},
    {"ko", "KP", "", 0x0812},
    {"ko", "KR", "", 0x0412},
    {"kok", "", "", 0x0457},
    {"kok", "IN", "", 0x0457},
    {"ky", "", "", 0x0440},
    {"ky", "KG", "", 0x0440},
    {"lt", "", "", 0x0427},
    {"lt", "LT", "", 0x0427},
    {"lt", "LT", "classic", 0x0827},
    {"lv", "", "", 0x0426},
    {"lv", "LV", "", 0x0426},
    {"mk", "", "", 0x042F},
    {"mk", "MK", "", 0x042F},
    {"ml", "", "", 0x044C},
    {"ml", "IN", "", 0x044C},
    {"mn", "", "", 0x0450},
    {"mn", "MN", "", 0x0450},
    {"mr", "", "", 0x044E},
    {"mr", "IN", "", 0x044E},
    {"ms", "", "", 0x043E},
    {"ms", "BN", "", 0x083E},
    {"ms", "MY", "", 0x043E},
    {"nb", "", "", 0x0414},
    {"nb", "NO", "", 0x0414},
    {"nl", "", "", 0x0413},
    {"nl", "BE", "", 0x0813},
    {"nl", "NL", "", 0x0413},
    {"nn", "", "", 0x0814},
    {"nn", "NO", "", 0x0814},
    {"no", "", "", 0x0414},
    {"no", "NO", "", 0x0414},
    {"or", "", "", 0x0448},
    {"or", "IN", "", 0x0448},
    {"pa", "", "", 0x0446},
    {"pa", "IN", "", 0x0446},
    {"pl", "", "", 0x0415},
    {"pl", "PL", "", 0x0415},
    {"pt", "", "", 0x0416},
    {"pt", "BR", "", 0x0416},
    {"pt", "PT", "", 0x0816},
    {"ro", "", "", 0x0418},
    {"ro", "RO", "", 0x0418},
    {"ru", "", "", 0x0419},
    {"ru", "RU", "", 0x0419},
    {"sa", "", "", 0x044F},
    {"sa", "IN", "", 0x044F},
    {"sk", "", "", 0x041B},
    {"sk", "SK", "", 0x041B},
    {"sl", "", "", 0x0424},
    {"sl", "SI", "", 0x0424},
    {"sq", "", "", 0x041C},
    {"sq", "AL", "", 0x041C},
    {"sr", "", "", 0x0C1A},
    {"sr", "", "latin", 0x081A},
    {"sr", "CS", "", 0x0C1A},
    {"sr", "CS", "latin", 0x081A},
    {"sr", "RS", "", 0x0C1A},
    {"sr", "RS", "latin", 0x081A},
    {"sv", "", "", 0x041D},
    {"sv", "FI", "", 0x081D},
    {"sv", "SE", "", 0x041D},
    {"sw", "", "", 0x0441},
    {"sw", "KE", "", 0x0441},
    {"syr", "", "", 0x045A},
    {"syr", "SY", "", 0x045A},
    {"ta", "", "", 0x0449},
    {"ta", "IN", "", 0x0449},
    {"te", "", "", 0x044A},
    {"te", "IN", "", 0x044A},
    {"th", "", "", 0x041E},
    {"th", "TH", "", 0x041E},
    {"tr", "", "", 0x041F},
    {"tr", "TR", "", 0x041F},
    {"tt", "", "", 0x0444},
    {"tt", "RU", "", 0x0444},
    {"uk", "", "", 0x0422},
    {"uk", "UA", "", 0x0422},
    {"ur", "", "", 0x0420},
    {"ur", "IN", "", 0x0820},
    {"ur", "PK", "", 0x0420},
    {"uz", "", "", 0x0443},
    {"uz", "", "cyrillic", 0x0843},
    {"uz", "UZ", "", 0x0443},
    {"uz", "UZ", "cyrillic", 0x0843},
    {"vi", "", "", 0x042A},
    {"vi", "VN", "", 0x042A},
    {"zh", "", "", 0x0804},
    {"zh", "CN", "", 0x0804},
    {"zh", "HK", "", 0x0C04},
    {"zh", "MO", "", 0x1404},
    {"zh", "SG", "", 0x1004},
    {"zh", "TW", "", 0x0404},
};

static_assert(std::ranges::is_sorted(kLanguages, {}, &LocaleLanguage::Key));
static_assert(std::ranges::adjacent_find(kLanguages, {}, &LocaleLanguage::Key) == std::end(kLanguages));

const LocaleLanguage* Find(std::string_view language, std::string_view region,
                           std::string_view modifier) {
  const auto key = std::tie(language, region, modifier);
  const auto* found = std::ranges::lower_bound(kLanguages, key, {}, &LocaleLanguage::Key);
  return found != std::end(kLanguages) && found->Key() == key ? found : nullptr;
}

std::string Cased(std::string_view text, int (*convert)(int)) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(convert(static_cast<unsigned char>(c)));
  return result;
}

}  // namespace

std::uint16_t LanguageIdFromLocaleName(std::string_view localeName) {
  // language[_REGION][.codeset][@modifier]; '-' is accepted for '_'.
  const std::size_t at = localeName.find('@');
  const std::string modifier =
      at == std::string_view::npos ? "" : Cased(localeName.substr(at + 1), ::tolower);
  const std::string_view base = localeName.substr(0, std::min(at, localeName.find('.')));
  const std::size_t separator = base.find_first_of("_-");
  const std::string language = Cased(base.substr(0, separator), ::tolower);
  const std::string region =
      separator == std::string_view::npos ? "" : Cased(base.substr(separator + 1), ::toupper);

  for (const auto& [r, m] : {std::pair<std::string_view, std::string_view>{region, modifier},
                             {region, ""}, {"", modifier}, {"", ""}}) {
    if (const LocaleLanguage* entry = Find(language, r, m)) return entry->id;
  }
  return kEnglishUnitedStates;
}

std::uint16_t UiLanguageIdFromEnvironment() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return LanguageIdFromLocaleName(value);
  }
  return kEnglishUnitedStates;
}

}  // namespace platform
