#include "system/language_index.h"

#include <array>
#include <initializer_list>

#include "platform/system_facts.h"

namespace {

struct IndexIds {
  int index;
  std::initializer_list<std::uint16_t> ids;
};

const std::array<IndexIds, kLanguageCount> kIdsByIndex = {{
    {0, {0x0409, 0x0809, 0x0C09, 0x1009, 0x1409, 0x1809, 0x1C09, 0x2009, 0x2409, 0x2809, 0x2C09}},
    {1, {0x0411}},
    {2, {0x0804}},
    {3, {0x040A, 0x080A, 0x0C0A, 0x100A, 0x140A, 0x180A, 0x1C0A, 0x200A, 0x240A, 0x280A,
         0x2C0A, 0x300A, 0x340A, 0x380A, 0x3C0A, 0x400A, 0x440A, 0x480A, 0x4C0A, 0x500A}},
    {4, {0x0407, 0x0807, 0x0C07, 0x1007, 0x1407}},
    {5, {0x040C, 0x080C, 0x0C0C, 0x100C, 0x140C}},
    {6, {0x0419}},
    {7, {0x0416, 0x0816}},
    {8, {0x0401}},
    {9, {0x0410, 0x0810}},
    {10, {0x0404, 0x0C04}},
    {11, {0x0412, 0x0812}},
    {12, {0x0413, 0x0813}},
    {13, {0x0421}},
    {14, {0x041F}},
    {15, {0x0439}},
    {16, {0x041E}},
    {17, {0x043E, 0x083E}},
    {18, {0x041D, 0x081D}},
    {19, {0x0405}},
}};

constexpr std::array<const char*, kLanguageCount> kCodes = {
    "en", "ja", "zh-cn", "es", "de", "fr", "ru", "pt", "ar", "it",
    "zh-tw", "ko", "nl", "id", "tr", "hi", "th", "my", "se", "cz"};

}  // namespace

int LanguageIndexOfLanguageId(std::uint16_t languageId) {
  for (const IndexIds& entry : kIdsByIndex) {
    for (std::uint16_t id : entry.ids) {
      if (id == languageId) return entry.index;
    }
  }
  return 0;
}

int GetDefaultLanguageIndex() {
  return LanguageIndexOfLanguageId(platform::Facts().UiLanguageId());
}

std::string GetLanguageCode(int languageIndex) {
  if (languageIndex < 0 || languageIndex >= kLanguageCount) return "en";
  return kCodes[static_cast<std::size_t>(languageIndex)];
}
