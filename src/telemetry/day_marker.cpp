#include "telemetry/day_marker.h"

#include <json/reader.h>
#include <json/writer.h>

#include <ctime>
#include <fstream>
#include <memory>
#include <optional>

#include "platform/file_contents.h"
#include "system/text_conversion.h"

namespace telemetry {

namespace {

// A marker is a few dozen bytes; anything much larger is not one.
constexpr std::size_t kMaxMarkerBytes = 64 * 1024;

// A missing file and one that is not a JSON object read as an empty object.
Json::Value ReadMarker(const std::wstring& file) {
  Json::Value marker(Json::objectValue);
  const std::optional<std::string> text = platform::ReadFileContents(file, kMaxMarkerBytes);
  if (!text) return marker;
  Json::CharReaderBuilder builder;
  const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value parsed;
  if (reader->parse(text->data(), text->data() + text->size(), &parsed, nullptr) &&
      parsed.isObject()) {
    marker = std::move(parsed);
  }
  return marker;
}

void WriteMarker(const std::wstring& file, const Json::Value& marker) {
  std::ofstream out(WideToUtf8(file), std::ios::binary | std::ios::trunc);
  out << Json::StyledWriter().write(marker);
}

bool HasInt(const Json::Value& marker, const char* key, int value) {
  const Json::Value& member = marker[key];
  return member.isInt() && member.asInt() == value;
}

}  // namespace

LocalDate TodayLocalDate() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::wstring DayMarkerPath(const std::wstring& workDirectory) {
  if (workDirectory.empty()) return L"";
  const bool hasSeparator = workDirectory.back() == L'/';
  return workDirectory + (hasSeparator ? L"" : L"/") + L"galog.json";
}

bool MarkRunDay(const std::wstring& file, const LocalDate& today) {
  if (file.empty()) return true;
  Json::Value marker = ReadMarker(file);
  if (HasInt(marker, "year", today.year) && HasInt(marker, "month", today.month) &&
      HasInt(marker, "day", today.day)) {
    return false;
  }
  marker["year"] = today.year;
  marker["month"] = today.month;
  marker["day"] = today.day;
  WriteMarker(file, marker);
  return true;
}

void MarkToolsVersion(const std::wstring& file, const std::string& toolsVersion) {
  if (file.empty()) return;
  Json::Value marker = ReadMarker(file);
  const Json::Value& version = marker["version"];
  if (version.isString() && version.asString() == toolsVersion) return;
  marker["version"] = toolsVersion;
  WriteMarker(file, marker);
}

}  // namespace telemetry
