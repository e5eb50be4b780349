#pragma once
// The answer of the IP geolocation service's CSV form:
// "success,Country,CC,Region,Region name,City,Zip,Lat,Lon,Time zone,ISP,Org,AS,Query".

#include <optional>
#include <string>
#include <string_view>

struct Geolocation {
  std::string country;  // second field
  std::string city;     // sixth field
  std::string ip;       // after the last comma: the queried (public) address
};

// nullopt unless the text contains "success". Missing fields are empty; the
// line end after the address is dropped.
std::optional<Geolocation> ParseGeolocationCsv(std::string_view text);
