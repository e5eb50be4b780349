// The analytics sends: GA4 hits, funnel reports, Universal Analytics events.
#include <curl/curl.h>
#include <gtest/gtest.h>
#include <json/reader.h>
#include <json/writer.h>

#include <chrono>
#include <regex>

#include "config/endpoints.h"
#include "web_log_fixture.h"
#include "weblog/client_id.h"
#include "weblog/machine_facts.h"
#include "hash/md5.h"

namespace {

constexpr char kGa4Path[] = "/ga/g/collect";
constexpr char kFunnelPath[] = "/analytics/collect";
constexpr char kJsonType[] = "application/json; charset=utf-8";
constexpr char kFunnelBody[] =
    R"({"pid": 31, "brand": "brisko", "model": "", "is_new": 1, "product": "Suite",
        "product_version": "1.0.0.1", "email": "", "phone": "", "tools_version": "1.0",
        "tools_lang": "en", "kit_type": "online", "actions": {"action": "install_start"}})";

std::int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

Json::Value Parse(const std::string& text) {
  Json::Value value;
  std::string error;
  const std::unique_ptr<Json::CharReader> reader(Json::CharReaderBuilder().newCharReader());
  EXPECT_TRUE(reader->parse(text.data(), text.data() + text.size(), &value, &error)) << error;
  return value;
}

class AnalyticsTest : public weblog_test::WebLogTest {
 protected:
  // What the collector at `path` does, by name: an HTTP status, or "hang",
  // "close" or "refuse" (the endpoint points at a closed port).
  void Collector(const std::string& path, const std::string& behaviour) {
    if (behaviour == "hang") {
      Hang("POST", path);
    } else if (behaviour == "close") {
      CloseMidAnswer("POST", path);
    } else if (behaviour == "refuse") {
      std::string closed;
      {
        test::FaultHttpServer gone;
        closed = gone.url("");
      }
      PointAt({{"ga4_collection", closed}, {"analytics_collector", closed}});
    } else {
      Answer("POST", path, std::stoi(behaviour));
    }
  }
  static void PointAt(const std::vector<std::pair<std::string, std::string>>& endpoints) {
    std::string xml = "<Endpoints>";
    for (const auto& [name, url] : endpoints) {
      xml += "<Endpoint name=\"" + name + "\" url=\"" + url + "\"/>";
    }
    std::string error;
    ASSERT_TRUE(LoadEndpointsXml(xml + "</Endpoints>", &error)) << error;
  }
  // A proxy named by "proxy.txt" that records what reaches it.
  std::unique_ptr<test::FaultHttpServer> ProxyFromFile() {
    auto proxy = std::make_unique<test::FaultHttpServer>();
    test::WriteFile(work_ / "proxy.txt", proxy->url("") + "\r\nignored second line\n");
    PointAt({{"ga4_collection", "http://ga4.invalid"},
             {"analytics_collector", "http://collector.invalid"}});
    return proxy;
  }
};

TEST_F(AnalyticsTest, Ga4HitCarriesTheClientIdAndTheEncodedQuery) {
  Answer("POST", kGa4Path, 204);
  const auto log = MakeWebLog();
  EXPECT_EQ(log->SendGA4Event("&en=page_view&ep.label=hello world&ep.path=a/b&ep.n=\xC3\xA4"), 0);
  const auto hits = RequestsTo(kGa4Path);
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(hits[0].method, "POST");
  EXPECT_EQ(hits[0].query, "v=2&cid=" + AnalyticsClientId() +
                               "&en=page_view&ep.label=hello%20world&ep.path=a%2fb&ep.n=%c3%a4");
  EXPECT_EQ(hits[0].body, "");
  EXPECT_EQ(hits[0].headers.at("content-type"), kJsonType);
}

TEST_F(AnalyticsTest, Ga4ResultCodes) {
  const std::pair<const char*, int> cases[] = {{"204", 0},    {"200", -1},    {"500", -1},
                                               {"hang", 253}, {"close", 253}, {"refuse", 253}};
  for (const auto& [behaviour, expected] : cases) {
    Collector(kGa4Path, behaviour);
    EXPECT_EQ(MakeWebLog()->SendGA4Event("&en=x"), expected) << behaviour;
  }
  server_.ClearRequests();
  const auto log = MakeWebLog();
  EXPECT_EQ(log->SendGA4Event(""), 254);
  EXPECT_EQ(log->SendGA4Event(nullptr), 254);
  EXPECT_TRUE(server_.requests().empty());
}

TEST_F(AnalyticsTest, FunnelReportIsStyledJsonWithTheIdentity) {
  Answer("POST", kFunnelPath, 200);
  const std::int64_t before = NowMs();
  EXPECT_EQ(MakeWebLog()->SoftDataReport(kFunnelBody), 0);
  const std::int64_t after = NowMs();
  const auto reports = RequestsTo(kFunnelPath);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].headers.at("content-type"), kJsonType);
  const std::string& body = reports[0].body;
  const Json::Value report = Parse(body);
  // Tab-indented, members in key order, a final newline.
  EXPECT_EQ(body, report.toStyledString());
  EXPECT_EQ(
      body.rfind(
          "{\n\t\"actions\" : \n\t{\n\t\t\"action\" : \"install_start\"\n\t},\n\t\"common\" : ", 0),
      0u)
      << body;
  EXPECT_EQ(body.substr(body.size() - 2), "}\n");

  const Json::Value& common = report["common"];
  const std::string machineId = ReadMachineId();
  EXPECT_EQ(common["uid"], machineId.empty() ? std::string() : hash::Md5Hex(machineId));
  EXPECT_TRUE(std::regex_match(common["session_id"].asString(),
                               std::regex("[0-9A-F]{12}4[0-9a-f]{3}[89AB][0-9A-F]{15}")))
      << common["session_id"];
  EXPECT_EQ(common["pid"], 31);
  EXPECT_EQ(common["channel"], "");
  EXPECT_TRUE(common["is_vip"].isNull());
  EXPECT_EQ(common["os_version"], "Debian GNU/Linux 12 x64");
  EXPECT_GE(report["ts"].asInt64(), before);
  EXPECT_LE(report["ts"].asInt64(), after);
}

TEST_F(AnalyticsTest, OneSessionIdAndUidForEveryReportOfTheProcess) {
  Answer("POST", kFunnelPath, 200);
  facts_.is64BitOs = false;
  MakeWebLog()->SoftDataReport("{}");
  const auto log = MakeWebLog();
  log->SoftDataReport("{}");
  log->SoftDataReport("garbage");
  const auto reports = RequestsTo(kFunnelPath);
  ASSERT_EQ(reports.size(), 3u);
  const Json::Value first = Parse(reports[0].body)["common"];
  for (const auto& report : reports) {
    const Json::Value common = Parse(report.body)["common"];
    EXPECT_EQ(common["session_id"], first["session_id"]);
    EXPECT_EQ(common["uid"], first["uid"]);
    EXPECT_EQ(common["os_version"], "Debian GNU/Linux 12 x32");
  }
}

TEST_F(AnalyticsTest, FunnelResultCodes) {
  const std::pair<const char*, int> cases[] = {{"200", 0},
                                               {"204", 4},
                                               {"500", 300},
                                               {"hang", CURLE_OPERATION_TIMEDOUT},
                                               {"close", CURLE_PARTIAL_FILE},
                                               {"refuse", CURLE_COULDNT_CONNECT}};
  for (const auto& [behaviour, expected] : cases) {
    Collector(kFunnelPath, behaviour);
    EXPECT_EQ(MakeWebLog()->SoftDataReport(kFunnelBody), expected) << behaviour;
  }
}

TEST_F(AnalyticsTest, ATestFileSendsFunnelReportsToTheTestCollector) {
  Answer("POST", kFunnelPath, 200);
  Answer("POST", "/analytics-test/collector", 200);
  test::WriteFile(work_ / "test", "");
  EXPECT_EQ(MakeWebLog()->SoftDataReport(kFunnelBody), 0);
  EXPECT_EQ(RequestsTo("/analytics-test/collector").size(), 1u);
  EXPECT_TRUE(RequestsTo(kFunnelPath).empty());
}

TEST_F(AnalyticsTest, ProxyTxtCarriesTheAnalytics) {
  const auto proxy = ProxyFromFile();
  const auto log = MakeWebLog();
  log->SendGA4Event("&en=x");
  log->SoftDataReport(kFunnelBody);
  const auto relayed = proxy->requests();
  ASSERT_EQ(relayed.size(), 2u);
  EXPECT_EQ(relayed[0].headers.at("host"), "ga4.invalid");
  EXPECT_NE(relayed[0].path.find("/g/collect"), std::string::npos) << relayed[0].path;
  EXPECT_EQ(relayed[1].headers.at("host"), "collector.invalid");
  EXPECT_EQ(Parse(relayed[1].body)["common"]["pid"], 31);
}

TEST_F(AnalyticsTest, UniversalAnalyticsEvent) {
  Answer("POST", "/ga/collect", 200);
  const auto log = MakeWebLog();
  EXPECT_EQ(log->SendGAEvent("UA-1", "cid 1", "install", "start", "label", "Suite", ""), 0);
  const auto events = RequestsTo("/ga/collect");
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].body,
            "v=1&tid=UA-1&cid=cid 1&t=event&ec=install&ea=start&el=label&an=Suite&av=");

  const char* complete[] = {"UA-1", "c", "e", "a", "l", "n"};
  for (int missing = 0; missing < 6; ++missing) {
    const char* args[6];
    std::copy(std::begin(complete), std::end(complete), args);
    args[missing] = missing % 2 ? "" : nullptr;
    EXPECT_NE(log->SendGAEvent(args[0], args[1], args[2], args[3], args[4], args[5], "1"), 0);
  }
  EXPECT_EQ(RequestsTo("/ga/collect").size(), 1u);

  Answer("POST", "/ga/collect", 400);
  EXPECT_NE(log->SendGAEvent("UA-1", "c", "e", "a", "l", "n", "1"), 0);
}

}  // namespace
