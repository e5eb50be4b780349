// The length probe: where the length comes from, redirects, failures and
// the CDN status.
#include <gtest/gtest.h>

#include "download/error_code.h"
#include "task_test_support.h"

namespace {

using TaskProbe = test::TaskManagerTest;

std::string Repeat(const std::string& entry, int times, const std::string& rest = "") {
  std::string joined;
  for (int i = 0; i < times; ++i) joined += (joined.empty() ? "" : "/") + entry;
  return rest.empty() ? joined : joined + "/" + rest;
}

// Answers with these headers and a body of one byte.
void ServeHeaders(test::FaultHttpServer& server, const std::string& path,
                  std::vector<std::pair<std::string, std::string>> headers, int status = 200) {
  server.Handle("GET", path, [headers, status](const httplib::Request&, httplib::Response& response) {
    response.status = status;
    for (const auto& [name, value] : headers) response.set_header(name, value);
    response.set_content("x", "application/octet-stream");
  });
}

TEST_F(TaskProbe, ContentRangeTotalWinsOverContentLength) {
  ServeHeaders(server_, "/ranged.exe", {{"Content-Range", "bytes 0-0/5000"}});
  const auto manager = Manager(server_.url("/ranged.exe"));
  CURLcode code = CURLE_COULDNT_CONNECT;
  std::string cdn;
  EXPECT_EQ(manager->getContentLength(code, cdn), 5000);
  EXPECT_EQ(code, CURLE_OK);
  EXPECT_EQ(harness_.log->GetUrlContentLength(server_.url("/ranged.exe")), 5000);
  EXPECT_EQ(LinesStartingWith(" Get Contentlength"),
            std::vector<std::string>{" Get Contentlength = 5000"});

  // The second probe is answered from the cache, leaving the code alone.
  server_.ClearRequests();
  code = CURLE_COULDNT_CONNECT;
  cdn = "stale";
  EXPECT_EQ(manager->getContentLength(code, cdn), 5000);
  EXPECT_EQ(code, CURLE_COULDNT_CONNECT);
  EXPECT_TRUE(cdn.empty());
  EXPECT_TRUE(server_.requests().empty());
}

TEST_F(TaskProbe, HeaderNamesMatchInAnyCase) {
  ServeHeaders(server_, "/lower.exe", {{"content-range", "bytes 0-0/7777"}});
  server_.ServeFile("/plain.exe", std::string(1234, 'p'));
  for (const auto& [path, length] :
       std::vector<std::pair<std::string, std::int64_t>>{{"/lower.exe", 7777}, {"/plain.exe", 1234}}) {
    CURLcode code = CURLE_OK;
    std::string cdn;
    EXPECT_EQ(Manager(server_.url(path))->getContentLength(code, cdn), length) << path;
  }
}

TEST_F(TaskProbe, NamesMatchOnlyAsWholeHeaderNames) {
  ServeHeaders(server_, "/named.exe",
               {{"Content-Location", "/elsewhere.exe"}, {"X-Content-Range", "bytes 0-0/99"}});
  const auto manager = Manager(server_.url("/named.exe"));
  CURLcode code = CURLE_OK;
  std::string cdn;
  EXPECT_EQ(manager->getContentLength(code, cdn), 1);
  EXPECT_EQ(manager->remoteUrl(), server_.url("/named.exe"));
  EXPECT_EQ(server_.requests().size(), 1u);
}

TEST_F(TaskProbe, LengthBeyondAnyPackageIsNoLength) {
  ServeHeaders(server_, "/huge.exe", {{"Content-Range", "bytes 0-0/1125899906842624"}});
  const auto manager = Manager(server_.url("/huge.exe"));
  CURLcode code = CURLE_OK;
  std::string cdn;
  EXPECT_EQ(manager->getContentLength(code, cdn), 0);
  EXPECT_EQ(harness_.log->GetUrlContentLength(server_.url("/huge.exe")), 0);
}

TEST_F(TaskProbe, RedirectTargetReplacesTheUrlOfTheManagerAndItsTasks) {
  server_.ServeFile("/cdn/file.exe", std::string(3000, 'f'));
  server_.Redirect("/first", server_.url("/second"), 301);  // absolute
  server_.Redirect("/second", "/cdn/file.exe");             // relative
  const auto manager = Manager(server_.url("/first"));
  ASSERT_EQ(manager->generateDownloadTask(0, ""), kDownloadOk);
  EXPECT_EQ(manager->remoteUrl(), server_.url("/cdn/file.exe"));
  ASSERT_EQ(manager->allTasks().size(), 1u);
  EXPECT_EQ(manager->allTasks()[0]->RemotePath, server_.url("/cdn/file.exe"));
  EXPECT_EQ(manager->allTasks()[0]->EndPos, 3000);
  EXPECT_EQ(harness_.log->GetUrlContentLength(server_.url("/cdn/file.exe")), 3000);
}

TEST_F(TaskProbe, RedirectLoopEndsWithTooManyRedirects) {
  server_.Redirect("/loop", "/loop");
  const auto manager = Manager(server_.url("/loop"));
  EXPECT_EQ(manager->generateDownloadTask(0, "Main"), kTooManyRedirects);
  EXPECT_TRUE(manager->allTasks().empty());
  EXPECT_EQ(Labels("Other", "Download"), std::vector<std::string>{Repeat("error:47", 10)});
}

TEST_F(TaskProbe, ServerThatKeepsNamingANewPlaceIsAskedTenTimes) {
  ServeHeaders(server_, "/stay", {{"Location", "/stay"}, {"Content-Length", "1"}});
  const auto manager = Manager(server_.url("/stay"));
  CURLcode code = CURLE_OK;
  std::string cdn = "X";
  EXPECT_EQ(manager->getContentLength(code, cdn), 0);
  EXPECT_EQ(code, CURLE_TOO_MANY_REDIRECTS);
  EXPECT_TRUE(cdn.empty());
  EXPECT_EQ(server_.requests().size(), 10u);
  EXPECT_EQ(LinesStartingWith(" Get Contentlength"),
            std::vector<std::string>{" Get Contentlength = 0, error CURLE_TOO_MANY_REDIRECTS"});
}

TEST_F(TaskProbe, MissingFileIsProbedTenTimesAndReported) {
  const auto manager = Manager(server_.url("/missing.exe"));
  EXPECT_EQ(manager->generateDownloadTask(0, "Main"), kNoContentLength);
  EXPECT_EQ(server_.requests().size(), 10u);
  EXPECT_TRUE(manager->allTasks().empty());
  EXPECT_EQ(manager->ContentLength, 0);
  const std::string joined = Repeat("error:0", 10);
  EXPECT_EQ(LinesStartingWith(" GetSize: "),
            std::vector<std::string>{" GetSize: Main, " + joined});
  EXPECT_EQ(LinesStartingWith(" [Error]: ").size(), 1u);
  EXPECT_EQ(Labels("Other", "Download"), std::vector<std::string>{joined});
}

TEST_F(TaskProbe, ClosedPortReportsTheCurlCode) {
  std::string url;
  {
    test::FaultHttpServer gone;
    url = gone.url("/p.exe");
  }
  EXPECT_EQ(Manager(url)->generateDownloadTask(0, "Main"), kNoContentLength);
  EXPECT_EQ(Labels("Other", "Download"), std::vector<std::string>{Repeat("error:7", 10)});
}

TEST_F(TaskProbe, SeriesStopsAtTheFirstSuccess) {
  server_.ServeFile("/busy.exe", std::string(10, 'b'), {.failFirstRequests = 3});
  const auto manager = Manager(server_.url("/busy.exe"));
  EXPECT_EQ(manager->generateDownloadTask(0, "Main"), kDownloadOk);
  EXPECT_EQ(server_.requests().size(), 4u);
  EXPECT_EQ(Labels("Other", "Download"),
            std::vector<std::string>{Repeat("error:0", 3, Repeat("Success", 1, Repeat("Null", 6)))});
}

TEST_F(TaskProbe, WithoutLabelNothingIsReported) {
  server_.ServeFile("/p.exe", std::string(10, 'p'));
  EXPECT_EQ(Manager(server_.url("/p.exe"))->generateDownloadTask(0, ""), kDownloadOk);
  EXPECT_TRUE(LinesStartingWith(" GetSize: ").empty());
  EXPECT_TRUE(Labels("Other", "Download").empty());
}

struct CdnCase {
  const char* what;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string logLine;            // empty: none
  std::string eventLabel;         // empty: none
  std::string probeCdnStatus;     // what the tasks carry
};

TEST_F(TaskProbe, CdnHeadersAreReported) {
  const std::vector<CdnCase> cases = {
      {"Cloudflare",
       {{"CF-Cache-Status", "HIT"}, {"CF-RAY", "8a1b2c3d4e5f6a7b-LAX"}},
       " Cdn result:  HIT, LAX", "LAX/ HIT", ""},
      {"Cloudflare in lower case",
       {{"cf-ray", "8a1b2c3d4e5f6a7b-FRA"}, {"cf-cache-status", "MISS"}},
       " Cdn result:  MISS, FRA", "FRA/ MISS", ""},
      {"other CDN", {{"X-Cache", "HIT from edge-3"}}, " Cdn result: HIT from edge-3",
       "HIT from edge-3", "HIT from edge-3"},
      // The dash of another header is not the data centre's.
      {"ray without data centre",
       {{"CF-RAY", "8a1b2c3d4e5f6a7b"}, {"CF-Cache-Status", "HIT"}, {"X-Served-By", "a-b"}}, "",
       "", ""},
      {"none", {}, "", "", ""},
  };
  int served = 0;
  for (const CdnCase& c : cases) {
    const std::string path = "/cdn" + std::to_string(++served) + ".exe";
    ServeHeaders(server_, path, c.headers);
    capture_.Clear();
    const auto manager = Manager(server_.url(path));
    ASSERT_EQ(manager->generateDownloadTask(0, ""), kDownloadOk) << c.what;
    EXPECT_EQ(manager->allTasks()[0]->probeCdnStatus, c.probeCdnStatus) << c.what;
    EXPECT_EQ(LinesStartingWith(" Cdn result:"),
              c.logLine.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.logLine})
        << c.what;
  }
  std::vector<std::string> expected;
  for (const CdnCase& c : cases) {
    if (!c.eventLabel.empty()) expected.push_back(c.eventLabel);
  }
  EXPECT_EQ(Labels("Download", "3.CDNStatus"), expected);
}

TEST_F(TaskProbe, FailedProbeForgetsTheCdnStatus) {
  ServeHeaders(server_, "/gone.exe", {{"X-Cache", "MISS"}}, 404);
  const auto manager = Manager(server_.url("/gone.exe"));
  CURLcode code = CURLE_OK;
  std::string cdn;
  EXPECT_EQ(manager->getContentLength(code, cdn), 0);
  EXPECT_TRUE(cdn.empty());
  EXPECT_EQ(Labels("Download", "3.CDNStatus"), std::vector<std::string>{"MISS"});
}

}  // namespace
