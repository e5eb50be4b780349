#pragma once
// Funnel bodies as the tests read them.

#include <gtest/gtest.h>
#include <json/reader.h>

#include <memory>
#include <string>

namespace test {

inline Json::Value ParseJson(const std::string& text) {
  Json::Value value;
  Json::CharReaderBuilder builder;
  const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  EXPECT_TRUE(reader->parse(text.data(), text.data() + text.size(), &value, nullptr)) << text;
  return value;
}

}  // namespace test
