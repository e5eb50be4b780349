// Language-and-country names of language identifiers.
#include <gtest/gtest.h>

#include "platform/fake_system_facts.h"
#include "system/locale_names.h"

namespace {

TEST(LanguageCountryName, NamesListedIdentifiersAndHexForTheRest) {
  struct Case {
    std::uint16_t id;
    const char* name;
  };
  const Case cases[] = {
      {0x0000, "Neutral_Neutral"},
      {0x0400, "Default_Default"},
      {0x0401, "Arabic_Saudi Arabia"},
      {0x0409, "English_United States"},
      {0x040A, "Spanish_Spain (Traditional sort)"},
      {0x0414, "Norwegian_Norway (Bokm?l)"},
      {0x042F, "Macedonian (FYROM)_Macedonian (FYROM)"},
      {0x0465, "Divehi_Maldives"},
      {0x0801, "Arabic_Iraq"},
      {0x0804, "Chinese_PRC"},
      {0x0827, "Classic Lithuanian_Lithuania"},
      {0x0C0A, "Spanish_Spain (International sort)"},
      {0x1004, "Chinese_Singapore"},
      {0x3801, "Arabic_U.A.E."},
      {0x4001, "Arabic_Qatar"},
      {0x500A, "Spanish_Puerto Rico"},
      // Not listed: gaps between listed identifiers and both ends.
      {0x0C0B, "0x0c0b_0x0c0b"},
      {0x0417, "0x0417_0x0417"},
      {0x0001, "0x0001_0x0001"},
      {0x03FF, "0x03ff_0x03ff"},
      {0x500B, "0x500b_0x500b"},
      {0xFFFF, "0xffff_0xffff"},
  };
  for (const Case& c : cases) EXPECT_EQ(LanguageCountryNameOf(c.id), c.name) << std::hex << c.id;
}

TEST(LanguageCountryName, FollowsTheUiLanguage) {
  platform::FakeSystemFacts fake;
  platform::FakeSystemFacts::Installed installed(fake);
  fake.uiLanguageId = 0x1004;
  EXPECT_EQ(GetLanguageCountryName(), "Chinese_Singapore");
  fake.uiLanguageId = 0x0C0B;
  EXPECT_EQ(GetLanguageCountryName(), "0x0c0b_0x0c0b");
}

}  // namespace
