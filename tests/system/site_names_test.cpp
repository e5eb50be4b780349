// Channel classes and site labels of the analytics.
#include <gtest/gtest.h>

#include "system/site_names.h"

namespace {

TEST(ChannelClass, ByTheSiteId) {
  struct Case {
    int siteId;
    const char* channel;
  };
  const Case cases[] = {
      {54, "CN"},   {93, "CN"},   {290, "CN"},  {354, "CN"},  {2, "PPC"},   {8, "PPC"},
      {74, "PPC"},  {84, "PPC"},  {206, "PPC"}, {293, "PPC"}, {305, "PPC"}, {338, "PPC"},
      {3, "SEO"},   {0, "SEO"},   {1, "SEO"},   {-54, "SEO"}, {55, "SEO"},  {355, "SEO"},
  };
  for (const Case& c : cases) EXPECT_EQ(GetChannelClass(c.siteId), c.channel) << c.siteId;
}

TEST(SiteName, UnlistedIdsGiveTheirNumber) {
  EXPECT_EQ(GetSiteName("http://h/brisko_bing_setup.exe", 3), "3");
  EXPECT_EQ(GetSiteName("", 0), "0");
  EXPECT_EQ(GetSiteName("", -7), "-7");
  EXPECT_EQ(GetSiteName("", 2147483647), "2147483647");
}

TEST(SiteName, IdsShareLabelsAndPlainSitesIgnoreMarkers) {
  for (int id : {1, 4, 7}) {
    EXPECT_EQ(GetSiteName("http://h/brisko_bing_setup.exe", id), "Brisko Official") << id;
  }
  EXPECT_EQ(GetSiteName("", 54), "Brisko China");
  EXPECT_EQ(GetSiteName("", 93), "Brisko China");
  EXPECT_EQ(GetSiteName("", 290), GetSiteName("", 354));
}

TEST(SiteName, CampaignMarkersInTheLowerCasedUrl) {
  struct Case {
    int siteId;
    const char* url;
    const char* label;
  };
  const Case cases[] = {
      // Bing, else Yahoo, else plain.
      {2, "http://h/d/Brisko_Bing_Setup.exe", "Brisko Search Ads-Bing"},
      {2, "http://h/d/brisko_bing.exe", "Brisko Search Ads-Bing"},
      {2, "http://h/d/brisko_YAHOO_setup.exe", "Brisko Search Ads-Yahoo"},
      {2, "http://h/d/brisko_yahoo.exe", "Brisko Search Ads-Yahoo"},
      {2, "http://h/d/brisko_yahoo_bing_setup.exe", "Brisko Search Ads-Bing"},
      {2, "http://h/bing/yahoo/brisko.exe", "Brisko Search Ads"},
      {2, "http://h/d/brisko_bingo.exe", "Brisko Search Ads"},
      {2, "", "Brisko Search Ads"},
      {8, "http://h/d/brisko_bing_setup.exe", "Brisko Search Ads-Bing"},
      {206, "http://h/d/brisko_yahoo.exe", "Brisko Search Ads-Yahoo"},
      // Bing only.
      {74, "http://h/d/BRISKO_BING_SETUP.EXE", "Brisko Display Ads-Bing"},
      {74, "http://h/d/brisko_bing.exe", "Brisko Display Ads-Bing"},
      {74, "http://h/d/brisko_yahoo_setup.exe", "Brisko Display Ads"},
      // "_bing." or the video network's own marker, but not "_bing_".
      {84, "http://h/d/brisko_bing.exe", "Brisko Video Ads-Bing"},
      {84, "http://h/d/brisko_BkMsn_setup.exe", "Brisko Video Ads-Bing"},
      {84, "http://h/d/brisko_bing_setup.exe", "Brisko Video Ads"},
      {84, "http://h/d/brisko_yahoo.exe", "Brisko Video Ads"},
      // The online store.
      {12, "http://h/d/brisko_online.exe", "Brisko Store Online"},
      {12, "http://h/d/Brisko_Online_Setup.exe", "Brisko Store Online"},
      {12, "http://h/d/brisko_onlinestore.exe", "Brisko Store Online"},
      {12, "http://h/online/brisko.exe", "Brisko Store"},
      // Retargeting campaigns of the social ads.
      {305, "http://h/d/brisko_bkretarget_setup.exe", "Brisko Social Ads-Retargeting"},
      {305, "http://h/d/brisko_bing_setup.exe", "Brisko Social Ads"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetSiteName(c.url, c.siteId), c.label) << c.siteId << " " << c.url;
  }
}

}  // namespace
