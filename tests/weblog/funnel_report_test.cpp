#include "weblog/funnel_report.h"

#include <gtest/gtest.h>
#include <json/writer.h>

namespace {

const FunnelIdentity kIdentity{"0123456789abcdef0123456789abcdef", "SESSION",
                               "Debian GNU/Linux 12 x64"};

Json::Value Report(const char* body) {
  return BuildFunnelReport(ParseFunnelBody(body), kIdentity, 1700000000123);
}

TEST(FunnelReport, CommonTakesTheBodyAndFillsTheRest) {
  const Json::Value report = Report(
      R"({"pid": 4242, "brand": "brisko", "model": "pc", "is_new": 1, "product": "Suite",
          "product_version": "1.0.0.1", "email": "a@b.example", "phone": "",
          "tools_version": "2.1", "tools_lang": "de", "kit_type": "online",
          "source_type": 3, "actions": {"action": "install_start", "step": 2}})");
  const Json::Value& common = report["common"];
  EXPECT_EQ(common["uid"], kIdentity.uid);
  EXPECT_EQ(common["session_id"], "SESSION");
  EXPECT_EQ(common["pid"], 4242);
  EXPECT_EQ(common["brand"], "brisko");
  EXPECT_EQ(common["model"], "pc");
  EXPECT_EQ(common["is_new"], 1);
  EXPECT_EQ(common["product"], "Suite");
  EXPECT_EQ(common["product_version"], "1.0.0.1");
  EXPECT_EQ(common["email"], "a@b.example");
  EXPECT_EQ(common["tools_lang"], "de");
  EXPECT_EQ(common["source_type"], 3);
  EXPECT_EQ(common["mac"], "");
  EXPECT_EQ(common["os"], "Win");
  EXPECT_EQ(common["os_version"], "Debian GNU/Linux 12 x64");
  // Keys the event log's bodies do not carry.
  EXPECT_TRUE(common["channel"].isString());
  EXPECT_EQ(common["channel"], "");
  for (const char* key : {"is_vip", "is_login", "user_id", "cross_end_id", "rnclid"}) {
    ASSERT_TRUE(common.isMember(key)) << key;
    EXPECT_TRUE(common[key].isNull()) << key;
  }
  EXPECT_EQ(common.size(), 23u);

  EXPECT_EQ(report["actions"]["action"], "install_start");
  EXPECT_EQ(report["ts"].asInt64(), 1700000000123);
  EXPECT_EQ(report.getMemberNames(), (std::vector<std::string>{"actions", "common", "ts"}));
}

TEST(FunnelReport, EmptyBodyGivesTheDefaults) {
  const char* const bodies[] = {"{}", "",         "not json",   "[1, 2]",
                                "42", "\"text\"", "{\"pid\": ", nullptr};
  for (const char* body : bodies) {
    const Json::Value report = Report(body);
    const Json::Value& common = report["common"];
    EXPECT_EQ(common["pid"], 0) << (body ? body : "null");
    EXPECT_EQ(common["is_new"], 0);
    EXPECT_EQ(common["brand"], "");
    EXPECT_EQ(common["kit_type"], "");
    EXPECT_TRUE(common["is_vip"].isNull());
    EXPECT_TRUE(report.isMember("actions"));
    EXPECT_TRUE(report["actions"].isNull());
    EXPECT_FALSE(report.isMember("start"));
    EXPECT_FALSE(report.isMember("monitor"));
  }
}

TEST(FunnelReport, StartAndMonitorOnlyWhenAsked) {
  const Json::Value report = Report(
      R"({"entry": "desktop", "monitor_type": "crash", "monitor_guid": "G",
          "monitor_start_time": 1, "monitor_error_time": 2, "monitor_line_id": 3,
          "monitor_error_code": 4, "monitor_total_memory": 5, "monitor_remain_memory": 6,
          "monitor_main_pid": 7, "monitor_sub_pid": 8, "monitor_ext1": "x"})");
  EXPECT_EQ(report["start"]["entry"], "desktop");
  const Json::Value& monitor = report["monitor"];
  EXPECT_EQ(monitor["monitor_type"], "crash");
  EXPECT_EQ(monitor["guid"], "G");
  const Json::Value& param = monitor["param"];
  const std::pair<const char*, Json::Value> expected[] = {
      {"start_time", 1},   {"error_time", 2},          {"line_id", 3},    {"error_code", 4},
      {"total_memory", 5}, {"remain_memory", 6},       {"parent_pid", 7}, {"pid", 8},
      {"ext_others", "x"}, {"user_ext", Json::Value()}};
  for (const auto& [name, value] : expected) EXPECT_EQ(param[name], value) << name;
  EXPECT_EQ(param.size(), 10u);

  // A monitor without its guid still has the member, as null.
  const Json::Value bare = Report(R"({"monitor_type": 0})");
  EXPECT_TRUE(bare["monitor"].isMember("guid"));
  EXPECT_TRUE(bare["monitor"]["guid"].isNull());
  EXPECT_FALSE(bare.isMember("start"));
}

}  // namespace
