// The fixture's own faults, seen through cpp-httplib's client, so that a
// download test that fails points at the code under test and not at the server.
#include "fixtures/fault_http_server.h"

#include <gtest/gtest.h>

namespace {

const std::string kFile = "0123456789abcdefghij";

TEST(FaultHttpServerTest, ServesRangesAndRecordsRequests) {
  test::FaultHttpServer server;
  server.ServeFile("/f.bin", kFile);
  httplib::Client client("127.0.0.1", server.port());

  auto whole = client.Get("/f.bin?x=1");
  ASSERT_TRUE(whole);
  EXPECT_EQ(whole->status, 200);
  EXPECT_EQ(whole->body, kFile);

  auto part = client.Get("/f.bin", {{"Range", "bytes=2-5"}});
  ASSERT_TRUE(part);
  EXPECT_EQ(part->status, 206);
  EXPECT_EQ(part->body, "2345");
  EXPECT_EQ(part->get_header_value("Content-Range"), "bytes 2-5/20");

  auto past = client.Get("/f.bin", {{"Range", "bytes=20-30"}});
  ASSERT_TRUE(past);
  EXPECT_EQ(past->status, 416);

  auto missing = client.Get("/none");
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->status, 404);

  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[0].path, "/f.bin");
  EXPECT_EQ(requests[0].query, "x=1");
  EXPECT_EQ(requests[1].headers.at("range"), "bytes=2-5");
  EXPECT_EQ(requests[3].path, "/none");
  EXPECT_EQ(requests[0].headers.count("remote_addr"), 0u);
  server.ClearRequests();
  EXPECT_TRUE(server.requests().empty());
}

TEST(FaultHttpServerTest, FaultsOnDemand) {
  test::FaultHttpServer server;
  test::FileFaults ignore;
  ignore.ignoreRange = true;
  server.ServeFile("/ignore", kFile, ignore);
  test::FileFaults lie;
  lie.wrongContentRangeStart = true;
  lie.contentRangeTotal = "999";
  lie.extraHeaders = {{"CF-RAY", "abc-LAX"}};
  server.ServeFile("/lie", kFile, lie);
  test::FileFaults flaky;
  flaky.failFirstRequests = 1;
  flaky.status = 202;
  server.ServeFile("/flaky", kFile, flaky);
  test::FileFaults cut;
  cut.cutAfterBytes = 3;
  server.ServeFile("/cut", kFile, cut);
  httplib::Client client("127.0.0.1", server.port());

  auto ignored = client.Get("/ignore", {{"Range", "bytes=2-5"}});
  ASSERT_TRUE(ignored);
  EXPECT_EQ(ignored->status, 200);
  EXPECT_EQ(ignored->body, kFile);
  EXPECT_FALSE(ignored->has_header("Content-Range"));

  auto lied = client.Get("/lie", {{"Range", "bytes=2-5"}});
  ASSERT_TRUE(lied);
  EXPECT_EQ(lied->get_header_value("Content-Range"), "bytes 3-5/999");
  EXPECT_EQ(lied->get_header_value("CF-RAY"), "abc-LAX");
  EXPECT_EQ(lied->body, "2345");

  auto first = client.Get("/flaky");
  ASSERT_TRUE(first);
  EXPECT_EQ(first->status, 503);
  auto second = client.Get("/flaky");
  ASSERT_TRUE(second);
  EXPECT_EQ(second->status, 202);

  std::string received;
  auto cutResult = client.Get("/cut", [&](const char* data, size_t length) {
    received.append(data, length);
    return true;
  });
  EXPECT_FALSE(cutResult);
  EXPECT_EQ(received, "012");
}

TEST(FaultHttpServerTest, CustomRoutesAndRedirects) {
  test::FaultHttpServer server;
  server.Handle("POST", "/echo", [](const httplib::Request& request, httplib::Response& response) {
    response.set_content("got " + request.body, "text/plain");
  });
  server.Redirect("/a", "/b", 301);
  httplib::Client client("127.0.0.1", server.port());

  auto echoed = client.Post("/echo", "hi", "text/plain");
  ASSERT_TRUE(echoed);
  EXPECT_EQ(echoed->body, "got hi");
  EXPECT_EQ(server.requests().at(0).body, "hi");

  auto moved = client.Get("/a");
  ASSERT_TRUE(moved);
  EXPECT_EQ(moved->status, 301);
  EXPECT_EQ(moved->get_header_value("Location"), "/b");
  EXPECT_EQ(server.url("/x"), "http://127.0.0.1:" + std::to_string(server.port()) + "/x");
}

}  // namespace
