#include "weblog/geolocation.h"

#include <vector>

namespace {

std::string Field(const std::vector<std::string_view>& fields, std::size_t index) {
  return index < fields.size() ? std::string(fields[index]) : std::string();
}

}  // namespace

std::optional<Geolocation> ParseGeolocationCsv(std::string_view text) {
  if (text.find("success") == std::string_view::npos) return std::nullopt;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t comma = text.find(',', start);
    fields.push_back(text.substr(start, comma == std::string_view::npos ? comma : comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  Geolocation location;
  location.country = Field(fields, 1);
  location.city = Field(fields, 5);
  if (fields.size() > 1) location.ip = std::string(fields.back());
  return location;
}
