#include "system/language_index.h"

#include <gtest/gtest.h>

#include "platform/fake_system_facts.h"

namespace {

TEST(LanguageIndex, IdentifiersMapToTheirIndex) {
  struct Case {
    std::uint16_t id;
    int index;
  };
  const Case cases[] = {
      {0x0409, 0},  {0x0809, 0},  {0x2C09, 0},  {0x3009, 0},  // English Zimbabwe is not listed
      {0x0411, 1},  {0x0804, 2},  {0x1004, 0},                // Chinese Singapore is not listed
      {0x040A, 3},  {0x0C0A, 3},  {0x500A, 3},  {0x0407, 4},  {0x1407, 4},
      {0x040C, 5},  {0x140C, 5},  {0x180C, 0},  {0x0419, 6},  {0x0416, 7},
      {0x0816, 7},  {0x0401, 8},  {0x0801, 0},  {0x0410, 9},  {0x0810, 9},
      {0x0404, 10}, {0x0C04, 10}, {0x1404, 0},  {0x0412, 11}, {0x0812, 11},
      {0x0413, 12}, {0x0813, 12}, {0x0421, 13}, {0x041F, 14}, {0x0439, 15},
      {0x041E, 16}, {0x043E, 17}, {0x083E, 17}, {0x041D, 18}, {0x081D, 18},
      {0x0405, 19}, {0x0000, 0},  {0x0C0B, 0},  {0xFFFF, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LanguageIndexOfLanguageId(c.id), c.index) << std::hex << c.id;
  }
}

TEST(LanguageIndex, DefaultIndexFollowsTheUiLanguage) {
  platform::FakeSystemFacts facts;
  platform::FakeSystemFacts::Installed installed(facts);
  facts.uiLanguageId = 0x0411;
  EXPECT_EQ(GetDefaultLanguageIndex(), 1);
  facts.uiLanguageId = 0x1004;
  EXPECT_EQ(GetDefaultLanguageIndex(), 0);
}

TEST(LanguageCode, CodesAreTheStubsOwn) {
  const char* expected[] = {"en", "ja", "zh-cn", "es", "de", "fr", "ru", "pt", "ar", "it",
                            "zh-tw", "ko", "nl", "id", "tr", "hi", "th", "my", "se", "cz"};
  for (int i = 0; i < kLanguageCount; ++i) EXPECT_EQ(GetLanguageCode(i), expected[i]) << i;
  EXPECT_EQ(GetLanguageCode(-1), "en");
  EXPECT_EQ(GetLanguageCode(20), "en");
}

}  // namespace
