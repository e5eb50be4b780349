#include "system/site_names.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string_view>

namespace {

// A campaign of a channel: the URL contains one of the markers.
struct Campaign {
  std::initializer_list<std::string_view> markers;
  std::string_view suffix;
};

using Campaigns = std::initializer_list<Campaign>;

const Campaign kBing{{"_bing_", "_bing."}, "-Bing"};
const Campaign kYahoo{{"_yahoo_", "_yahoo."}, "-Yahoo"};
const Campaigns kSearchEngines{kBing, kYahoo};
const Campaigns kBingOnly{kBing};
// The video network books its Bing campaigns as "_bkmsn_" as well.
const Campaigns kBingOrMsn{{{"_bing.", "_bkmsn_"}, "-Bing"}};
// "_online" also covers "_online.".
const Campaigns kOnlineStore{{{"_online"}, " Online"}};
const Campaigns kRetargeting{{{"_bkretarget_"}, "-Retargeting"}};

struct Site {
  int id;
  std::string_view label;
  Campaigns campaigns;  // the first one found in the URL wins
};

const std::array<Site, 29> kSites = {{
    {1, "Brisko Official", {}},
    {2, "Brisko Search Ads", kSearchEngines},
    {4, "Brisko Official", {}},
    {5, "Brisko Blog", {}},
    {6, "Brisko Help Center", {}},
    {7, "Brisko Official", {}},
    {8, "Brisko Search Ads", kSearchEngines},
    {12, "Brisko Store", kOnlineStore},
    {15, "Brisko Affiliates", {}},
    {21, "Brisko Affiliates", {}},
    {33, "Brisko Newsletter", {}},
    {41, "Brisko Education", {}},
    {54, "Brisko China", {}},
    {74, "Brisko Display Ads", kBingOnly},
    {84, "Brisko Video Ads", kBingOrMsn},
    {93, "Brisko China", {}},
    {101, "Brisko Review Sites", {}},
    {118, "Brisko Review Sites", {}},
    {150, "Brisko Partners", {}},
    {206, "Brisko Search Ads", kSearchEngines},
    {212, "Brisko Partners", {}},
    {290, "Brisko China Store", {}},
    {293, "Brisko Shopping Ads", {}},
    {305, "Brisko Social Ads", kRetargeting},
    {338, "Brisko Mobile Ads", {}},
    {354, "Brisko China Store", {}},
    {400, "Brisko Download Portals", {}},
    {401, "Brisko Download Portals", {}},
    {512, "Brisko Education", {}},
}};

bool Contains(const std::string& text, std::initializer_list<std::string_view> markers) {
  return std::any_of(markers.begin(), markers.end(), [&text](std::string_view marker) {
    return text.find(marker) != std::string::npos;
  });
}

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

}  // namespace

std::string GetChannelClass(int siteId) {
  switch (siteId) {
    case 54: case 93: case 290: case 354:
      return "CN";
    case 2: case 8: case 74: case 84: case 206: case 293: case 305: case 338:
      return "PPC";
    default:
      return "SEO";
  }
}

std::string GetSiteName(const std::string& url, int siteId) {
  const auto site = std::find_if(kSites.begin(), kSites.end(),
                                 [siteId](const Site& s) { return s.id == siteId; });
  if (site == kSites.end()) return std::to_string(siteId);
  const std::string lowered = LowerAscii(url);
  std::string label(site->label);
  for (const Campaign& campaign : site->campaigns) {
    if (Contains(lowered, campaign.markers)) return label.append(campaign.suffix);
  }
  return label;
}
