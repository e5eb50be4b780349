#include "telemetry/bounded_text.h"

namespace telemetry {

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string_view Utf8Prefix(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  std::size_t end = maxBytes;
  // Back up to the lead byte of the character the cut would split.
  while (end > 0 && IsContinuationByte(text[end])) --end;
  return text.substr(0, end);
}

std::string ComposeWithin(std::string_view head, std::string_view field, std::string_view tail,
                          std::size_t maxBytes) {
  const std::size_t fixed = head.size() + tail.size();
  if (fixed > maxBytes) {
    std::string whole;
    whole.reserve(fixed);
    whole.append(head).append(tail);
    return std::string(Utf8Prefix(whole, maxBytes));
  }
  std::string text;
  text.reserve(fixed + field.size());
  text.append(head).append(Utf8Prefix(field, maxBytes - fixed)).append(tail);
  return text;
}

}  // namespace telemetry
