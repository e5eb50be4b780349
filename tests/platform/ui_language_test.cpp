#include "platform/ui_language.h"

#include <gtest/gtest.h>

#include "fixtures/scoped_env.h"

namespace {

using platform::LanguageIdFromLocaleName;
using test::ScopedEnv;

TEST(UiLanguage, LocaleNamesMapToWindowsLanguageIds) {
  struct Case {
    const char* locale;
    std::uint16_t id;
  };
  const Case cases[] = {
      {"de_AT.UTF-8@euro", 0x0C07}, {"de_DE.UTF-8", 0x0407}, {"de_CH", 0x0807},
      {"en_US.UTF-8", 0x0409}, {"en_GB", 0x0809}, {"en_AU", 0x0C09}, {"en_029", 0x2409},
      {"zh_CN.UTF-8", 0x0804}, {"zh_TW.UTF-8", 0x0404}, {"zh_HK", 0x0C04}, {"zh_SG", 0x1004},
      {"zh_MO", 0x1404}, {"zh", 0x0804}, {"ja_JP.UTF-8", 0x0411}, {"ko_KR.UTF-8", 0x0412},
      {"ko_KP", 0x0812}, {"pt_BR", 0x0416}, {"pt_PT", 0x0816}, {"pt", 0x0416},
      {"es_ES.UTF-8", 0x0C0A}, {"es_ES@traditional", 0x040A}, {"es_MX", 0x080A},
      {"es_PR", 0x500A}, {"es", 0x0C0A}, {"fr_FR", 0x040C}, {"fr_CA", 0x0C0C}, {"fr_MC", 0x180C},
      {"ar_SA", 0x0401}, {"ar_AE", 0x3801}, {"ar_QA", 0x4001}, {"nb_NO", 0x0414},
      {"nn_NO", 0x0814}, {"sr_RS", 0x0C1A}, {"sr_RS@latin", 0x081A}, {"uz_UZ", 0x0443},
      {"uz_UZ@cyrillic", 0x0843}, {"az_AZ@cyrillic", 0x082C}, {"ms_BN", 0x083E},
      {"lt_LT@classic", 0x0827}, {"kok_IN", 0x0457}, {"syr_SY", 0x045A}, {"dv_MV", 0x0465},
      {"he_IL.UTF-8", 0x040D}, {"ru_RU.KOI8-R", 0x0419}, {"sv_FI", 0x081D}, {"ur_IN", 0x0820},
      // A language alone or with an unknown region: its main variety.
      {"fr", 0x040C}, {"fr_XX.UTF-8", 0x040C}, {"de_XX@euro", 0x0407}, {"sr@latin", 0x081A},
      // Spelling variants.
      {"DE_at", 0x0C07}, {"de-AT", 0x0C07}, {"sr_RS@Latin", 0x081A},
      // Nothing usable.
      {"C", 0x0409}, {"C.UTF-8", 0x0409}, {"POSIX", 0x0409}, {"", 0x0409}, {"xx_YY", 0x0409},
      {"_AT", 0x0409}, {"@euro", 0x0409}, {".", 0x0409},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LanguageIdFromLocaleName(c.locale), c.id) << "locale '" << c.locale << "'";
  }
}

TEST(UiLanguage, EnvironmentPrecedence) {
  ScopedEnv all("LC_ALL", std::nullopt);
  ScopedEnv messages("LC_MESSAGES", std::nullopt);
  ScopedEnv lang("LANG", std::nullopt);
  EXPECT_EQ(platform::UiLanguageIdFromEnvironment(), 0x0409);
  {
    ScopedEnv set("LANG", "ja_JP.UTF-8");
    EXPECT_EQ(platform::UiLanguageIdFromEnvironment(), 0x0411);
    ScopedEnv set2("LC_MESSAGES", "pt_BR.UTF-8");
    EXPECT_EQ(platform::UiLanguageIdFromEnvironment(), 0x0416);
    ScopedEnv set3("LC_ALL", "");  // empty counts as unset
    EXPECT_EQ(platform::UiLanguageIdFromEnvironment(), 0x0416);
    ScopedEnv set4("LC_ALL", "de_AT.UTF-8@euro");
    EXPECT_EQ(platform::UiLanguageIdFromEnvironment(), 0x0C07);
  }
}

}  // namespace
