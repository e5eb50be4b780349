#include "weblog/geolocation.h"

#include <gtest/gtest.h>

namespace {

TEST(Geolocation, TakesCountryCityAndTheLastField) {
  const auto full = ParseGeolocationCsv(
      "success,Germany,DE,BE,Land Berlin,Berlin,10115,52.52,13.405,Europe/Berlin,ISP,Org,"
      "AS3320 Telekom,203.0.113.7\n");
  ASSERT_TRUE(full);
  EXPECT_EQ(full->country, "Germany");
  EXPECT_EQ(full->city, "Berlin");
  EXPECT_EQ(full->ip, "203.0.113.7");

  // Fewer fields than usual: what is missing stays empty, nothing is read past the end.
  const auto shortAnswer = ParseGeolocationCsv("success,Japan,JP\r\n");
  ASSERT_TRUE(shortAnswer);
  EXPECT_EQ(shortAnswer->country, "Japan");
  EXPECT_EQ(shortAnswer->city, "");
  EXPECT_EQ(shortAnswer->ip, "JP");

  const auto bare = ParseGeolocationCsv("success");
  ASSERT_TRUE(bare);
  EXPECT_EQ(bare->country, "");
  EXPECT_EQ(bare->ip, "");
}

TEST(Geolocation, NeedsSuccess) {
  for (const char* text : {"", "fail,private range,192.168.0.1", "<html>busy</html>"}) {
    EXPECT_FALSE(ParseGeolocationCsv(text)) << text;
  }
}

}  // namespace
