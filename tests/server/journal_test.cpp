// The journal: one JSON line for each request, whole even when requests come
// at once, with bodies that stay readable.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <thread>

#include "stub_server.h"

namespace {

constexpr std::size_t kBodyLimit = 64 * 1024;

TEST(StubServerJournal, RecordsARequestWithTheHeadersThatMatter) {
  test::StubServer server;
  httplib::Client client = server.Client();
  const httplib::Headers headers = {{"User-Agent", "stub-test/1.0"},
                                    {"Accept", "text/xml"},
                                    {"Range", "bytes=0-99"},
                                    {"X-Private", "not journaled"}};
  ASSERT_TRUE(client.Get("/queryDownloader?LanguageId=1033&SoftWareID=a%20b&SiteID=2", headers));

  const std::vector<Json::Value> journal = server.Journal();
  ASSERT_EQ(journal.size(), 1u);
  const Json::Value& line = journal[0];
  EXPECT_TRUE(std::regex_match(line["time"].asString(),
                               std::regex("[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}"
                                          "\\.[0-9]{3}Z")))
      << line["time"];
  EXPECT_EQ(line["method"], "GET");
  EXPECT_EQ(line["path"], "/queryDownloader");
  EXPECT_EQ(line["query"], "LanguageId=1033&SoftWareID=a%20b&SiteID=2");
  EXPECT_EQ(line["headers"]["user-agent"], "stub-test/1.0");
  EXPECT_EQ(line["headers"]["accept"], "text/xml");
  EXPECT_EQ(line["headers"]["range"], "bytes=0-99");
  const std::vector<std::string> names = line["headers"].getMemberNames();
  EXPECT_EQ(std::count(names.begin(), names.end(), "x-private"), 0);
  EXPECT_EQ(line["body"], "");
}

TEST(StubServerJournal, RecordsEveryRequestInOrderWithItsBody) {
  test::StubServer server;
  httplib::Client client = server.Client();
  ASSERT_TRUE(client.Post("/collect", R"({"event":"start"})", "application/json"));
  ASSERT_TRUE(client.Get("/no/such/service"));
  ASSERT_TRUE(client.Post("/api/exception/send", "code=7&msg=disk%20full",
                          "application/x-www-form-urlencoded"));

  const std::vector<Json::Value> journal = server.Journal();
  ASSERT_EQ(journal.size(), 3u);
  EXPECT_EQ(journal[0]["method"], "POST");
  EXPECT_EQ(journal[0]["path"], "/collect");
  EXPECT_EQ(journal[0]["body"], R"({"event":"start"})");
  EXPECT_EQ(journal[0]["headers"]["content-type"], "application/json");
  EXPECT_EQ(journal[0]["headers"]["content-length"], "17");
  EXPECT_EQ(journal[1]["path"], "/no/such/service");
  EXPECT_EQ(journal[2]["body"], "code=7&msg=disk%20full");
}

TEST(StubServerJournal, SummarisesAnUploadInsteadOfItsBytes) {
  test::StubServer server;
  httplib::Client client = server.Client();
  const std::string bytes(12345, 'Q');
  const httplib::MultipartFormDataItems items = {
      {"product_id", "42", "", ""},
      {"version", "1.0.0.1", "", ""},
      {"catalogue", "crash", "", ""},
      {"file", bytes, "stub-log.zip", "application/zip"}};
  ASSERT_TRUE(client.Post("/v1/productLogUpload", items));

  const std::vector<Json::Value> journal = server.Journal();
  ASSERT_EQ(journal.size(), 1u);
  const std::string body = journal[0]["body"].asString();
  for (const char* expected :
       {"product_id", "version", "catalogue", "file", "stub-log.zip", "12345"}) {
    EXPECT_NE(body.find(expected), std::string::npos) << expected << " missing from " << body;
  }
  EXPECT_EQ(body.find("QQQQ"), std::string::npos) << body;
}

struct BodyCase {
  std::size_t size;
  bool cut;
};

class StubServerJournalBody : public testing::TestWithParam<BodyCase> {};

TEST_P(StubServerJournalBody, IsCutOnlyBeyondTheLimit) {
  test::StubServer server;
  httplib::Client client = server.Client();
  std::string sent;
  for (std::size_t i = 0; sent.size() < GetParam().size; ++i)
    sent += static_cast<char>('a' + i % 26);
  ASSERT_TRUE(client.Post("/collector", sent, "text/plain"));

  const std::vector<Json::Value> journal = server.Journal();
  ASSERT_EQ(journal.size(), 1u);
  const std::string body = journal[0]["body"].asString();
  if (!GetParam().cut) {
    EXPECT_EQ(body, sent);
    return;
  }
  EXPECT_EQ(body.substr(0, kBodyLimit), sent.substr(0, kBodyLimit));
  EXPECT_LT(body.size(), kBodyLimit + 100);  // the marker and no more
  EXPECT_NE(body.find("cut", kBodyLimit), std::string::npos) << body.substr(kBodyLimit);
}

INSTANTIATE_TEST_SUITE_P(Sizes, StubServerJournalBody,
                         testing::Values(BodyCase{kBodyLimit, false},
                                         BodyCase{kBodyLimit + 1, true},
                                         BodyCase{1024 * 1024, true}));

TEST(StubServerJournal, KeepsTheTextAroundBytesThatAreNotUtf8) {
  test::StubServer server;
  httplib::Client client = server.Client();
  ASSERT_TRUE(client.Post("/collect", std::string("head\xFF\xC3zt\xE2\x82\0tail\xC3\xA9", 17),
                          "application/octet-stream"));

  const std::vector<Json::Value> journal = server.Journal();
  ASSERT_EQ(journal.size(), 1u);
  const std::string body = journal[0]["body"].asString();
  for (const char* kept : {"head", "zt", "tail\xC3\xA9"}) {
    EXPECT_NE(body.find(kept), std::string::npos) << kept << " missing from " << body;
  }
}

TEST(StubServerJournal, KeepsLinesWholeWhenRequestsComeAtOnce) {
  test::StubServer server;
  constexpr int kThreads = 8;
  constexpr int kRequestsEach = 20;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&server, t] {
      httplib::Client client = server.Client();
      // Large enough that an unserialised write would be split.
      const std::string body(32 * 1024, static_cast<char>('A' + t));
      for (int i = 0; i < kRequestsEach; ++i) client.Post("/collect", body, "text/plain");
    });
  }
  for (std::thread& thread : threads) thread.join();

  const std::vector<Json::Value> journal = server.Journal();
  ASSERT_EQ(journal.size(), static_cast<std::size_t>(kThreads * kRequestsEach));
  for (const Json::Value& line : journal) {
    const std::string body = line["body"].asString();
    ASSERT_EQ(body.size(), 32u * 1024);
    EXPECT_EQ(body.find_first_not_of(body[0]), std::string::npos);
  }
}

}  // namespace
