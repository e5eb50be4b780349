#include "config/endpoints.h"

#include <gtest/gtest.h>

namespace {

class EndpointsTest : public ::testing::Test {
 protected:
  void TearDown() override { ResetEndpoints(); }
};

TEST_F(EndpointsTest, DefaultsAreHttpsBaseUrls) {
  const Endpoints e = GetEndpoints();
  for (const std::string* url : {&e.updateServer, &e.updateServerChina, &e.productAlert, &e.logUpload,
                                 &e.logService, &e.baseUrlFileSite, &e.analyticsCollector,
                                 &e.analyticsTestCollector, &e.ga4Collection, &e.supportService,
                                 &e.geolocation}) {
    EXPECT_TRUE(url->starts_with("https://")) << *url;
    EXPECT_FALSE(url->ends_with("/")) << *url;
  }
  EXPECT_TRUE(e.trustAnchorPem.empty());
}

TEST_F(EndpointsTest, TheSkinOverridesWhatItNames) {
  std::string error;
  ASSERT_TRUE(LoadEndpointsXml(
      "<Endpoints>"
      "<Endpoint name=\"update_server\" url=\"http://127.0.0.1:18081/\"/>"
      "<Endpoint name=\"ga4_collection\" url=\"http://127.0.0.1:18081\"/>"
      "<Endpoint name=\"no_such_service\" url=\"http://x\"/>"
      "<Endpoint name=\"geolocation\"/>"
      "<TrustAnchor>PEM</TrustAnchor>"
      "</Endpoints>",
      &error))
      << error;
  const Endpoints e = GetEndpoints();
  EXPECT_EQ(e.updateServer, "http://127.0.0.1:18081");
  EXPECT_EQ(e.ga4Collection, "http://127.0.0.1:18081");
  EXPECT_EQ(e.geolocation, "https://geo.brisko.example");  // no url: kept
  EXPECT_EQ(e.productAlert, "https://alert.brisko.example");
  EXPECT_EQ(e.trustAnchorPem, "PEM");
}

TEST_F(EndpointsTest, ADocumentThatDoesNotParseChangesNothing) {
  for (const char* xml : {"", "<Endpoints>", "<Other/>", "garbage"}) {
    std::string error;
    EXPECT_FALSE(LoadEndpointsXml(xml, &error)) << xml;
    EXPECT_FALSE(error.empty()) << xml;
    EXPECT_EQ(GetEndpoints().updateServer, "https://update.brisko.example");
  }
}

}  // namespace
