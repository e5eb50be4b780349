#include "telemetry/funnel_body.h"

#include <gtest/gtest.h>

#include "json_text.h"

namespace {

using telemetry::BuildFunnelBody;
using telemetry::FunnelFields;
using telemetry::FunnelFreeActions;
using telemetry::FunnelStepActions;

TEST(FunnelBody, StyledOutputInKeyOrderWithTabs) {
  FunnelFields fields;
  fields.isNew = true;
  fields.productName = "Brisko Studio";
  fields.productVersion = "2.3";
  fields.clickId = "abc123";
  fields.toolsVersion = "1.0.0.1";
  fields.toolsLanguage = "zh-cn";
  fields.kitType = 1;
  fields.mainProductId = 42;
  const std::string body = BuildFunnelBody(
      fields, FunnelStepActions("Keypoint", "null", 0, "CorePublicModule", "Start", "null"));
  EXPECT_EQ(body,
            "{\n"
            "\t\"actions\" : \n"
            "\t{\n"
            "\t\t\"core_func_name\" : \"null\",\n"
            "\t\t\"event_action\" : \"Start\",\n"
            "\t\t\"event_category\" : \"CorePublicModule\",\n"
            "\t\t\"event_label\" : \"null\",\n"
            "\t\t\"event_type\" : \"Keypoint\",\n"
            "\t\t\"func_step\" : 0\n"
            "\t},\n"
            "\t\"brand\" : \"PC\",\n"
            "\t\"cross_end_id\" : \"abc123\",\n"
            "\t\"email\" : \"\",\n"
            "\t\"is_new\" : 1,\n"
            "\t\"kit_type\" : 1,\n"
            "\t\"model\" : \"PC\",\n"
            "\t\"phone\" : \"\",\n"
            "\t\"pid\" : 42,\n"
            "\t\"product\" : \"Brisko Studio\",\n"
            "\t\"product_version\" : \"2.3\",\n"
            "\t\"rnclid\" : \"abc123\",\n"
            "\t\"source_type\" : \"downloader\",\n"
            "\t\"tools_lang\" : \"zh-cn\",\n"
            "\t\"tools_version\" : \"1.0.0.1\"\n"
            "}\n");
}

TEST(FunnelBody, StepActionsWithoutCoreFunctionOrEventType) {
  const Json::Value actions = FunnelStepActions("", "", 7, "Download", "Launch", "null");
  EXPECT_EQ(actions.getMemberNames(), (std::vector<std::string>{"event_action", "event_category",
                                                                "event_label", "event_type"}));
  EXPECT_EQ(actions["event_type"], "event");
}

TEST(FunnelBody, FreeActionsSkipEmptyKeysAndKeepEmptyValues) {
  struct Case {
    std::map<std::string, std::string> labels;
    std::vector<std::string> keys;
  };
  const Case cases[] = {
      {{{"", ""}}, {"event_action", "event_category", "event_type"}},
      {{{"", "dropped"}, {"default_config", ""}},
       {"default_config", "event_action", "event_category", "event_type"}},
      {{{"MainErrorType", "DL008"}},
       {"MainErrorType", "event_action", "event_category", "event_type"}},
  };
  for (const Case& c : cases) {
    const Json::Value actions = FunnelFreeActions("Download", "DownloadEnvReady", c.labels);
    EXPECT_EQ(actions.getMemberNames(), c.keys);
    EXPECT_EQ(actions["event_type"], "event");
    for (const auto& [key, value] : c.labels) {
      if (!key.empty()) {
        EXPECT_EQ(actions[key], value);
      }
    }
  }
}

TEST(FunnelBody, TextsSurviveAsJson) {
  FunnelFields fields;
  fields.productName = "Brisko \"Quote\" \\ Päck\n";
  const Json::Value body =
      test::ParseJson(BuildFunnelBody(fields, FunnelFreeActions("a", "b", {})));
  EXPECT_EQ(body["product"], fields.productName);
  EXPECT_EQ(body["is_new"], 0);
  EXPECT_EQ(body["kit_type"], 0);
}

}  // namespace
