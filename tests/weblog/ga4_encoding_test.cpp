#include "weblog/ga4_encoding.h"

#include <gtest/gtest.h>

namespace {

TEST(Ga4Encoding, KeepsTheSeparatorsAndEscapesTheRest) {
  const std::pair<std::string, std::string> cases[] = {
      {"&en=page_view&ep.label=hello world", "&en=page_view&ep.label=hello%20world"},
      {"AZaz09!'()*-._~", "AZaz09!'()*-._~"},
      {"a+b/c?d#e%f", "a%2bb%2fc%3fd%23e%25f"},
      {"\"<>[]{}|\\^`,;:@$", "%22%3c%3e%5b%5d%7b%7d%7c%5c%5e%60%2c%3b%3a%40%24"},
      {"\xC3\xA4\xE4\xB8\xAD", "%c3%a4%e4%b8%ad"},
      {std::string("a\0b\n\x7f\xff", 6), "a%00b%0a%7f%ff"},
      {"", ""},
  };
  for (const auto& [query, expected] : cases) EXPECT_EQ(EncodeGa4Query(query), expected) << query;
}

}  // namespace
