#include <gtest/gtest.h>

#include "telemetry/user_log_identity.h"

namespace {

TEST(UserLogIdentity, ClickIdIsBetweenTheLastUnderscoreAndTheLastDot) {
  struct Case {
    const wchar_t* path;
    const char* clickId;
  };
  const Case cases[] = {
      {L"/home/u/Downloads/Brisko_Setup_k9Xq2.exe", "k9Xq2"},
      {L"/home/u/Brisko_Setup_k9Xq2.tar.gz", "k9Xq2.tar"},
      {L"/home/u/Brisko_Setup_.exe", ""},
      {L"/home/u/Brisko_Setup_Ünï.run", "Ünï"},
      {L"/home/u/brisko-setup", ""},
      {L"/home/u/brisko_setup", ""},
      {L"/home/u/brisko.setup", ""},
      {L"/home/u/brisko.v2_setup", ""},
      {L"/home/u_v2.d/brisko-setup", ""},
      {L"Brisko_abc.exe", "abc"},
      {L"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(telemetry::ClickIdOfExecutable(c.path), c.clickId);
  }
}

TEST(UserLogIdentity, LanguageAndCountrySplitAtTheFirstUnderscore) {
  struct Case {
    const char* name;
    const char* language;
    const char* country;
  };
  const Case cases[] = {
      {"German_Austria", "German", "Austria"},
      {"Macedonian (FYROM)_Macedonian (FYROM)", "Macedonian (FYROM)", "Macedonian (FYROM)"},
      {"Spanish_Spain (Traditional sort)", "Spanish", "Spain (Traditional sort)"},
      {"a_b_c", "a", "b_c"},
      {"_x", "", "x"},
      {"Klingon", "Unknown", "Unknown"},
      {"", "Unknown", "Unknown"},
  };
  for (const Case& c : cases) {
    const auto [language, country] = telemetry::SplitLanguageCountry(c.name);
    EXPECT_EQ(language, c.language) << c.name;
    EXPECT_EQ(country, c.country) << c.name;
  }
}

TEST(UserLogIdentity, TheRunningExecutableDescribesItself) {
  const telemetry::UserLogIdentity identity = telemetry::CurrentUserLogIdentity();
  EXPECT_FALSE(identity.toolsVersion.empty());
  EXPECT_EQ(identity.clickId, "");  // "telemetry_tests" has no "."
  EXPECT_TRUE(identity.osDescription.ends_with(" 64bit") ||
              identity.osDescription.ends_with(" 32bit"))
      << identity.osDescription;
  EXPECT_FALSE(identity.systemLanguage.empty());
}

}  // namespace
