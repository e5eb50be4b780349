// What each service answers, as the stub would ask it.
#include <gtest/gtest.h>

#include <sstream>

#include "stub_server.h"

namespace {

httplib::Result Send(httplib::Client& client, const std::string& method, const std::string& path) {
  if (method == "GET") return client.Get(path.c_str());
  return client.Post(path.c_str(), "a=1", "application/x-www-form-urlencoded");
}

TEST(StubServerAnswer, ServesTheAnswerFileAsItIsNow) {
  test::StubServer server;
  httplib::Client client = server.Client();
  const std::string query = "/queryDownloader?LanguageId=1033&SoftWareID=7&SiteID=2";

  httplib::Result missing = client.Get(query.c_str());
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->status, 404);

  test::WriteFile(server.answerFile(), "<Downloader><Version>1</Version></Downloader>");
  httplib::Result first = client.Get(query.c_str());
  ASSERT_TRUE(first);
  EXPECT_EQ(first->status, 200);
  EXPECT_EQ(first->body, "<Downloader><Version>1</Version></Downloader>");
  EXPECT_EQ(first->get_header_value("Content-Type"), "text/xml");

  test::WriteFile(server.answerFile(), "<Downloader><Version>2</Version></Downloader>");
  httplib::Result second = client.Get(query.c_str());
  ASSERT_TRUE(second);
  EXPECT_EQ(second->body, "<Downloader><Version>2</Version></Downloader>");

  std::filesystem::remove(server.answerFile());
  httplib::Result removed = client.Get(query.c_str());
  ASSERT_TRUE(removed);
  EXPECT_EQ(removed->status, 404);

  std::filesystem::create_directory(server.answerFile());
  httplib::Result folder = client.Get(query.c_str());
  ASSERT_TRUE(folder);
  EXPECT_EQ(folder->status, 404);
}

struct RouteCase {
  const char* method;
  const char* path;
  int status;
  const char* body;  // nullptr: any body
};

class StubServerRoute : public testing::TestWithParam<RouteCase> {};

TEST_P(StubServerRoute, AnswersWithItsStatus) {
  test::StubServer server;
  const RouteCase& c = GetParam();
  httplib::Client client = server.Client();
  httplib::Result result = Send(client, c.method, c.path);
  ASSERT_TRUE(result) << c.method << ' ' << c.path;
  EXPECT_EQ(result->status, c.status) << c.method << ' ' << c.path;
  if (c.body) {
    EXPECT_EQ(result->body, c.body) << c.method << ' ' << c.path;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Routes, StubServerRoute,
    testing::Values(
        RouteCase{"GET", "/g/collect?v=2&tid=G-1&en=page_view", 204, ""},
        RouteCase{"POST", "/g/collect?v=2&tid=G-1", 204, ""},
        RouteCase{"POST", "/collect", 200, R"({"code":0})"},
        RouteCase{"POST", "/collector", 200, R"({"code":0})"},
        RouteCase{"POST", "/api/exception/send", 200, R"({"code":0})"},
        RouteCase{"GET", "/QueryUser?mac=00", 200, "10001"},
        RouteCase{"POST", "/QueryUser", 200, "10001"},
        RouteCase{"GET", "/AddUserLog", 200, nullptr},
        RouteCase{"POST", "/AddUserLog", 200, nullptr}, RouteCase{"GET", "/csv", 200, nullptr},
        // Paths match whole, and each service only by its method.
        RouteCase{"GET", "/collect", 404, nullptr}, RouteCase{"POST", "/collectors", 404, nullptr},
        RouteCase{"POST", "/queryDownloader", 404, nullptr},
        RouteCase{"GET", "/queryDownloader/more", 404, nullptr},
        RouteCase{"GET", "/v1/productLogUpload", 404, nullptr}, RouteCase{"GET", "/", 404, nullptr},
        RouteCase{"POST", "/elsewhere", 404, nullptr}));

TEST(StubServerGeolocation, AnswersOneCsvLineOfSixColumns) {
  test::StubServer server;
  httplib::Client client = server.Client();
  httplib::Result result = client.Get("/csv");
  ASSERT_TRUE(result);
  std::vector<std::string> columns;
  std::istringstream line(result->body);
  for (std::string column; std::getline(line, column, ',');) columns.push_back(column);
  ASSERT_EQ(columns.size(), 6u) << result->body;
  EXPECT_EQ(columns[0], "success");
  EXPECT_EQ(columns[2], "US");
}

TEST(StubServerSoftwareLog, NamesThisServerWhenNoFileIsGiven) {
  test::StubServer server;
  httplib::Client client = server.Client();
  httplib::Result result = client.Get("/downloads/service/softwarelog.txt");
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 200);
  EXPECT_EQ(result->body, "http://127.0.0.1:" + std::to_string(server.port()));
}

TEST(StubServerSoftwareLog, ServesTheGivenFile) {
  const test::TempDir files;
  const std::filesystem::path file = files.Write("softwarelog.txt", "http://logs.test:8080");
  test::StubServer server({"--softwarelog", file.string()});
  httplib::Client client = server.Client();
  httplib::Result result = client.Get("/downloads/service/softwarelog.txt");
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 200);
  EXPECT_EQ(result->body, "http://logs.test:8080");
}

}  // namespace
