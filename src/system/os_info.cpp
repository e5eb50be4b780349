#include "system/os_info.h"

#include <charconv>

#include "platform/system_facts.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// from_chars would also take "inf" and "nan", which are no version.
void ReadLeadingNumber(const std::string& text, float& number) {
  if (text.empty() || !IsDigit(text.front())) return;
  float value = 0.0f;
  const auto result =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (result.ec == std::errc()) number = value;
}

}  // namespace

std::string GetOsName(float& version) {
  const platform::OsRelease release = platform::Facts().GetOsRelease();
  ReadLeadingNumber(release.version, version);
  return release.version.empty() ? release.name : release.name + " " + release.version;
}

bool IsWow64() { return platform::Facts().Is64BitOs(); }
