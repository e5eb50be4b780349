#pragma once
// The sales channel a stub was downloaded through, for the analytics. The
// site id is the one the stub was started with.

#include <string>

// "CN" (Chinese channels), "PPC" (paid search and ads) or "SEO" (the rest).
std::string GetChannelClass(int siteId);

// The channel's label. Some channels tell their campaigns apart by markers
// in the download URL, which is compared lower-cased ("_bing_" in
// ".../Brisko_Bing_Setup.exe"). A site id without a label gives its decimal
// text.
std::string GetSiteName(const std::string& url, int siteId);
