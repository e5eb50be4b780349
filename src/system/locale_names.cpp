#include "system/locale_names.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "platform/system_facts.h"

namespace {

struct LanguageName {
  std::uint16_t id;
  const char* name;
};

// Sorted by identifier. The texts are those of the Windows program, flaws
// included ("Bokm?l"): the analytics compare them as they stand.
constexpr std::array<LanguageName, 143> kNames = {{
    {0x0000, "Neutral_Neutral"},
    {0x0400, "Default_Default"},
    {0x0401, "Arabic_Saudi Arabia"},
    {0x0402, "Bulgarian_Bulgaria"},
    {0x0403, "Catalan_Spain"},
    {0x0404, "Chinese_Taiwan"},
    {0x0405, "Czech_Czech Republic"},
    {0x0406, "Danish_Denmark"},
    {0x0407, "German_Germany"},
    {0x0408, "Greek_Greece"},
    {0x0409, "English_United States"},
    {0x040A, "Spanish_Spain (Traditional sort)"},
    {0x040B, "Finnish_Finland"},
    {0x040C, "French_France"},
    {0x040D, "Hebrew_Israel"},
    {0x040E, "Hungarian_Hungary"},
    {0x040F, "Icelandic_Iceland"},
    {0x0410, "Italian_Italy"},
    {0x0411, "Japanese_Japan"},
    {0x0412, "Korean_Korea"},
    {0x0413, "Dutch_Netherlands"},
    {0x0414, "Norwegian_Norway (Bokm?l)"},
    {0x0415, "Polish_Poland"},
    {0x0416, "Portuguese_Brazil"},
    {0x0418, "Romanian_Romania"},
    {0x0419, "Russian_Russia"},
    {0x041A, "Croatian_Croatia"},
    {0x041B, "Slovak_Slovakia"},
    {0x041C, "Albanian_Albania"},
    {0x041D, "Swedish_Sweden"},
    {0x041E, "Thai_Thailand"},
    {0x041F, "Turkish_Turkey"},
    {0x0420, "Urdu_Pakistan"},
    {0x0421, "Indonesian_Indonesia (Bahasa)"},
    {0x0422, "Ukrainian_Ukraine"},
    {0x0423, "Belarusian_Belarus"},
    {0x0424, "Slovenian_Slovenia"},
    {0x0425, "Estonian_Estonia"},
    {0x0426, "Latvian_Latvia"},
    {0x0427, "Lithuanian_Lithuania"},
    {0x0429, "Farsi_Iran"},
    {0x042A, "Vietnamese_Viet Nam"},
    {0x042B, "Armenian_Armenia"},
    {0x042C, "Azeri_Azerbaijan (Latin)"},
    {0x042D, "Basque_Spain"},
    {0x042F, "Macedonian (FYROM)_Macedonian (FYROM)"},
    {0x0436, "Afrikaans_South Africa"},
    {0x0437, "Georgian_Georgia"},
    {0x0438, "Faeroese_Faeroe Islands"},
    {0x0439, "Hindi_India"},
    {0x043E, "Malay_Malaysia"},
    {0x043F, "Kazakh_Kazakstan"},
    {0x0440, "Kyrgyz_Kyrgyzstan"},
    {0x0441, "Swahili_Kenya"},
    {0x0443, "Uzbek_Uzbekistan (Latin)"},
    {0x0444, "Tatar_Tatarstan"},
    {0x0445, "Bengali_India"},
    {0x0446, "Punjabi_India (Gurmukhi script)"},
    {0x0447, "Gujarati_India"},
    {0x0448, "Oriya_India"},
    {0x0449, "Tamil_India"},
    {0x044A, "Telugu_India (Telugu script)"},
    {0x044B, "Kannada_India (Kannada script)"},
    {0x044C, "Malayalam_India"},
    {0x044D, "Assamese_India"},
    {0x044E, "Marathi_India"},
    {0x044F, "Sanskrit_India"},
    {0x0450, "Mongolian (Cyrillic)_Mongolia"},
    {0x0456, "Galician_Spain"},
    {0x0457, "Konkani_India"},
    {0x045A, "Syriac_Syria"},
    {0x0465, "Divehi_Maldives"},
    {0x0801, "Arabic_Iraq"},
    {0x0804, "Chinese_PRC"},
    {0x0807, "German_Switzerland"},
    {0x0809, "English_United Kingdom"},
    {0x080A, "Spanish_Mexico"},
    {0x080C, "French_Belgium"},
    {0x0810, "Italian_Switzerland"},
    {0x0813, "Dutch_Belgium"},
    {0x0814, "Norwegian_Norway (Nynorsk)"},
    {0x0816, "Portuguese_Portugal"},
    {0x081A, "Serbian_Serbia (Latin)"},
    {0x081D, "Swedish_Finland"},
    {0x0820, "Urdu_India"},
    {0x0827, "Classic Lithuanian_Lithuania"},
    {0x082C, "Azeri_Azerbaijan (Cyrillic)"},
    {0x083E, "Malay_Brunei Darussalam"},
    {0x0843, "Uzbek_Uzbekistan (Cyrillic)"},
    {0x0C01, "Arabic_Egypt"},
    {0x0C04, "Chinese_Hong Kong SAR"},
    {0x0C07, "German_Austria"},
    {0x0C09, "English_Australia"},
    {0x0C0A, "Spanish_Spain (International sort)"},
    {0x0C0C, "French_Canada"},
    {0x0C1A, "Serbian_Serbia (Cyrillic)"},
    {0x1001, "Arabic_Libya"},
    {0x1004, "Chinese_Singapore"},
    {0x1007, "German_Luxembourg"},
    {0x1009, "English_Canada"},
    {0x100A, "Spanish_Guatemala"},
    {0x100C, "French_Switzerland"},
    {0x1401, "Arabic_Algeria"},
    {0x1404, "Chinese_Macao SAR"},
    {0x1407, "German_Liechtenstein"},
    {0x1409, "English_New Zealand"},
    {0x140A, "Spanish_Costa Rica"},
    {0x140C, "French_Luxembourg"},
    {0x1801, "Arabic_Morocco"},
    {0x1809, "English_Ireland"},
    {0x180A, "Spanish_Panama"},
    {0x180C, "French_Monaco"},
    {0x1C01, "Arabic_Tunisia"},
    {0x1C09, "English_South Africa"},
    {0x1C0A, "Spanish_Dominican Republic"},
    {0x2001, "Arabic_Oman"},
    {0x2009, "English_Jamaica"},
    {0x200A, "Spanish_Venezuela"},
    {0x2401, "Arabic_Yemen"},
    {0x2409, "English_Caribbean"},
    {0x240A, "Spanish_Colombia"},
    {0x2801, "Arabic_Syria"},
    {0x2809, "English_Belize"},
    {0x280A, "Spanish_Peru"},
    {0x2C01, "Arabic_Jordan"},
    {0x2C09, "English_Trinidad"},
    {0x2C0A, "Spanish_Argentina"},
    {0x3001, "Arabic_Lebanon"},
    {0x3009, "English_Zimbabwe"},
    {0x300A, "Spanish_Ecuador"},
    {0x3401, "Arabic_Kuwait"},
    {0x3409, "English_Philippines"},
    {0x340A, "Spanish_Chile"},
    {0x3801, "Arabic_U.A.E."},
    {0x380A, "Spanish_Uruguay"},
    {0x3C01, "Arabic_Bahrain"},
    {0x3C0A, "Spanish_Paraguay"},
    {0x4001, "Arabic_Qatar"},
    {0x400A, "Spanish_Bolivia"},
    {0x440A, "Spanish_El Salvador"},
    {0x480A, "Spanish_Honduras"},
    {0x4C0A, "Spanish_Nicaragua"},
    {0x500A, "Spanish_Puerto Rico"},
}};

constexpr bool ById(const LanguageName& a, const LanguageName& b) { return a.id < b.id; }
static_assert(std::is_sorted(kNames.begin(), kNames.end(), ById));

}  // namespace

std::string LanguageCountryNameOf(std::uint16_t languageId) {
  const auto found = std::lower_bound(
      kNames.begin(), kNames.end(), languageId,
      [](const LanguageName& entry, std::uint16_t id) { return entry.id < id; });
  if (found != kNames.end() && found->id == languageId) return found->name;
  const unsigned id = languageId;
  char text[16];
  std::snprintf(text, sizeof text, "0x%.4x_0x%.4x", id, id);
  return text;
}

std::string GetLanguageCountryName() {
  return LanguageCountryNameOf(platform::Facts().UiLanguageId());
}
