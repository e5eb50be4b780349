#include "weblog/ga4_encoding.h"

namespace {

bool KeptAsIs(unsigned char c) {
  if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return true;
  return std::string_view("!&'()*-.=_~").find(static_cast<char>(c)) != std::string_view::npos;
}

}  // namespace

std::string EncodeGa4Query(std::string_view query) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string encoded;
  encoded.reserve(query.size() * 3);
  for (const char ch : query) {
    const auto c = static_cast<unsigned char>(ch);
    if (KeptAsIs(c)) {
      encoded += ch;
    } else {
      encoded += '%';
      encoded += kHex[c >> 4];
      encoded += kHex[c & 0x0F];
    }
  }
  return encoded;
}
