// The header probe, the plain GET, the POST and the error texts.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "download/CLibcurlTool.h"
#include "fixtures/fault_http_server.h"
#include "fixtures/log_capture.h"

namespace {

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
    ++count;
  return count;
}

// A port nobody listens on: the server's, after it is gone.
std::string ClosedUrl() {
  test::FaultHttpServer gone;
  return gone.url("/");
}

class TransfersTest : public ::testing::Test {
 protected:
  test::FaultHttpServer server_;
  CLibcurlTool tool_;
};

TEST_F(TransfersTest, GetHeaderReturnsEveryBlockOfTheRedirectChain) {
  server_.ServeFile("/file.zip", std::string(1234, 'x'));
  server_.Redirect("/first", "/second", 301);
  server_.Redirect("/second", "/file.zip");
  std::string header;
  long status = 0;
  EXPECT_EQ(tool_.GetHeader(server_.url("/first"), header, status), CURLE_OK);
  EXPECT_EQ(status, 200);
  EXPECT_EQ(Count(header, "HTTP/1.1 "), 3u);
  EXPECT_EQ(header.rfind("HTTP/1.1 301", 0), 0u);
  EXPECT_NE(header.find("Content-Length: 1234"), std::string::npos);
  for (const auto& request : server_.requests()) EXPECT_EQ(request.method, "HEAD");
}

TEST_F(TransfersTest, GetHeaderCutsTo1999Bytes) {
  server_.ServeFile("/file.zip", "x", {.extraHeaders = {{"X-Padding", std::string(3000, 'p')}}});
  std::string header;
  long status = 0;
  EXPECT_EQ(tool_.GetHeader(server_.url("/file.zip"), header, status), CURLE_OK);
  EXPECT_EQ(status, 200);
  EXPECT_EQ(header.size(), 1999u);
  EXPECT_EQ(header.rfind("HTTP/1.1 200", 0), 0u);
}

TEST_F(TransfersTest, GetHeaderReportsStatusAndFailure) {
  std::string header = "stale";
  long status = 0;
  EXPECT_EQ(tool_.GetHeader(server_.url("/missing"), header, status), CURLE_OK);
  EXPECT_EQ(status, 404);
  EXPECT_EQ(header.rfind("HTTP/1.1 404", 0), 0u);

  test::LogCapture log;
  EXPECT_EQ(tool_.GetHeader(ClosedUrl(), header, status), CURLE_COULDNT_CONNECT);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(header, "");
  EXPECT_EQ(log.lines(), std::vector<std::string>{" Curl Connect Server Error"});
}

TEST_F(TransfersTest, HttpGetReturnsTheBody) {
  server_.ServeFile("/info", "{\"a\":1}");
  server_.Redirect("/moved", "/info");
  std::string body;
  EXPECT_EQ(tool_.httpGet(server_.url("/moved"), body, false), CURLE_OK);
  EXPECT_EQ(body, "{\"a\":1}");
  // Only the ranged download introduces itself.
  for (const auto& request : server_.requests()) EXPECT_EQ(request.headers.count("user-agent"), 0u);
}

TEST_F(TransfersTest, HttpGetKeepsWhatArrivedBeforeAFailure) {
  server_.ServeFile("/info", "0123456789", {.cutAfterBytes = 4});
  std::string body;
  test::LogCapture log;
  EXPECT_EQ(tool_.httpGet(server_.url("/info"), body, false), CURLE_PARTIAL_FILE);
  EXPECT_EQ(body, "0123");
  EXPECT_TRUE(log.lines().empty()) << "the plain GET leaves errors to its caller";
}

TEST_F(TransfersTest, HandleIsReusedWithoutLeftoverOptions) {
  server_.ServeFile("/info", "body");
  std::string header, body;
  long status = 0;
  EXPECT_EQ(tool_.GetHeader(server_.url("/info"), header, status), CURLE_OK);
  EXPECT_EQ(tool_.httpGet(server_.url("/info"), body, false), CURLE_OK);
  EXPECT_EQ(body, "body") << "the header probe's options survived";
}

TEST_F(TransfersTest, HttpPostSendsTheBodyAndReturnsTheResponse) {
  server_.Handle("POST", "/report",
                 [](const httplib::Request& request, httplib::Response& response) {
                   response.set_content("got " + request.body, "text/plain");
                 });
  std::string response = "stale";
  EXPECT_EQ(tool_.HttpPost(server_.url("/report"), "a=1&b=2", response), CURLE_OK);
  EXPECT_EQ(response, "got a=1&b=2");
  const auto requests = server_.requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "POST");
  EXPECT_EQ(requests[0].body, "a=1&b=2");
  EXPECT_EQ(tool_.HttpPost(ClosedUrl(), "x", response), CURLE_COULDNT_CONNECT);
}

TEST(MissingHandleTest, TransfersOnTheToolsHandleFail) {
  CLibcurlTool tool(nullptr);
  std::string text;
  long status = 0;
  const std::vector<std::function<CURLcode()>> transfers = {
      [&] { return tool.GetHeader("http://127.0.0.1:1/", text, status); },
      [&] { return tool.httpGet("http://127.0.0.1:1/", 0, 0, 0, text, status); },
      [&] { return tool.httpGet("http://127.0.0.1:1/", text, false); },
  };
  for (const auto& transfer : transfers) {
    test::LogCapture log;
    EXPECT_EQ(transfer(), CURLE_FAILED_INIT);
    EXPECT_EQ(log.lines(), std::vector<std::string>{" curl easy init fail !!!"});
  }
}

TEST(FigureErrorTest, LogsTheTextOfEachCode) {
  const std::vector<std::pair<int, std::string>> texts = {
      {0, " Curl Else Error: 0"},
      {1, " ProtoControl Unsupport!"},
      {2, " Init Failed!"},
      {3, " Curl RemotePath Error"},
      {4, " libcurl InitFailed，Please Try again!"},
      {5, " Cannt resovlve proxy!"},
      {6, " cannt resovlve server!"},
      {7, " Curl Connect Server Error"},
      {8, " FTP服务器非法回复"},
      {9, " Acess Denied!"},
      {10, " FTP连接失败"},
      {11, " FTP服务器未知回复"},
      {12, " FTP连接超时"},
      {13, " Curl unknow error!"},
      {14, " Curl unknow error!"},
      {15, " 内部故障"},
      {16, " HTTP2错误"},
      {17, " FTP获取传输类型失败"},
      {18, " 服务器返回文件大小非法"},
      {19, " Curl Else Error: 19"},
      {21, " Curl Else Error: 21"},
      {22, " HTTP请求错误"},
      {23, " 接收数据错误"},
      {24, " Curl Else Error: 24"},
      {25, " 上传数据错误"},
      {26, " 本地文件读取错误"},
      {27, " 内存不足"},
      {28, " Curl Time out"},
      {29, " Curl Else Error: 29"},
      {30, " FTP端口失败"},
      {32, " Curl Else Error: 32"},
      {33, " 请求的数据范围错误"},
      {60, " Curl Else Error: 60"},
  };
  for (const auto& [code, text] : texts) {
    test::LogCapture log;
    EXPECT_EQ(CLibcurlTool::figureError(static_cast<CURLcode>(code)), 1);
    EXPECT_EQ(log.lines(), std::vector<std::string>{text}) << code;
  }
}

}  // namespace
