// UploadFile against a log-upload endpoint in the test process.
#include <gtest/gtest.h>

#include <regex>

#include "config/endpoints.h"
#include "download/CLibcurlTool.h"
#include "fixtures/fault_http_server.h"
#include "fixtures/temp_dir.h"

namespace {

struct ReceivedPart {
  std::string filename, content;
};

class UploadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(LoadEndpointsXml(
        "<Endpoints><Endpoint name=\"log_upload\" url=\"" + server_.url("/") + "\"/></Endpoints>",
        &error))
        << error;
    server_.Handle("POST", "/v1/productLogUpload",
                   [this](const httplib::Request& request, httplib::Response& response) {
                     for (const auto& [name, file] : request.files)
                       parts_[name] = {file.filename, file.content};
                     response.status = status_;
                     response.set_content("stored", "text/plain");
                   });
  }
  void TearDown() override { ResetEndpoints(); }

  int Upload(const std::string& path, const std::string& name, const std::string& catalogue = "") {
    testing::internal::CaptureStdout();
    const int result = tool_.UploadFile(path, name, "prod-7", "1.2.3", catalogue);
    console_ = testing::internal::GetCapturedStdout();
    return result;
  }

  test::TempDir dir_;
  test::FaultHttpServer server_;
  int status_ = 200;
  std::map<std::string, ReceivedPart> parts_;
  std::string console_;
  CLibcurlTool tool_;
};

TEST_F(UploadTest, SendsTheFileAndTheProductFields) {
  const std::string path = dir_.Write("logs/pack.zip", "PK-zip-bytes").string();
  EXPECT_EQ(Upload(path, "crash_report.zip", "installer"), 0);
  ASSERT_EQ(parts_.size(), 4u);
  EXPECT_EQ(parts_["file"].filename, "crash_report.zip");
  EXPECT_EQ(parts_["file"].content, "PK-zip-bytes");
  EXPECT_EQ(parts_["product_id"].content, "prod-7");
  EXPECT_EQ(parts_["version"].content, "1.2.3");
  EXPECT_EQ(parts_["catalogue"].content, "installer");
  EXPECT_EQ(console_, "Response from server:\nstored\n");
  EXPECT_EQ(server_.requests().at(0).headers.at("accept"), "*/*");
}

TEST_F(UploadTest, LeavesOutAnEmptyCatalogue) {
  EXPECT_EQ(Upload(dir_.Write("pack.zip", "z").string(), "a.zip"), 0);
  EXPECT_EQ(parts_.count("catalogue"), 0u);
  EXPECT_EQ(parts_.size(), 3u);
}

TEST_F(UploadTest, NamesAnUnnamedUploadAfterTheTime) {
  const struct {
    const char* relative;
    const char* extension;
  } cases[] = {{"logs/pack.zip", ".zip"}, {"logs/package", ".tmp"}, {"logs.old/package", ".tmp"}};
  for (const auto& c : cases) {
    parts_.clear();
    EXPECT_EQ(Upload(dir_.Write(c.relative, "data").string(), ""), 0) << c.relative;
    const std::regex expected(std::string("NoName_[0-9]{17}\\") + c.extension);
    EXPECT_TRUE(std::regex_match(parts_["file"].filename, expected)) << parts_["file"].filename;
  }
}

TEST_F(UploadTest, ReportsFailures) {
  EXPECT_EQ(Upload("a.gz", "x.gz"), -1) << "path shorter than 5 characters";
  EXPECT_TRUE(server_.requests().empty());
  EXPECT_EQ(Upload(dir_.File("absent.zip"), "x.zip"), -3);
  status_ = 500;
  EXPECT_EQ(Upload(dir_.Write("pack.zip", "z").string(), "x.zip"), -3);
  EXPECT_EQ(console_, "Response from server:\nstored\n");
}

}  // namespace
