// Diagnostic packages: kept under a name of the server's choosing inside the
// uploads folder, whatever name the client gave.
#include <gtest/gtest.h>

#include <set>

#include "stub_server.h"

namespace {

namespace fs = std::filesystem;

httplib::Result Upload(httplib::Client& client, const std::string& fileName,
                       const std::string& content) {
  const httplib::MultipartFormDataItems items = {
      {"product_id", "42", "", ""},
      {"version", "1.0.0.1", "", ""},
      {"file", content, fileName, "application/zip"},
  };
  return client.Post("/v1/productLogUpload", items);
}

// Every regular file below `dir`, relative to it.
std::set<std::string> FilesBelow(const fs::path& dir) {
  std::set<std::string> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir)) {
    if (entry.is_regular_file()) files.insert(fs::relative(entry.path(), dir).string());
  }
  return files;
}

std::string Repeat(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

// The server's own files in its folder, besides the uploads.
const std::set<std::string> kServerFiles = {"journal.log", "stdout.txt", "stderr.txt"};

TEST(StubServerUpload, KeepsAPlainNameAsItIs) {
  test::StubServer server;
  httplib::Client client = server.Client();
  httplib::Result result = Upload(client, "stub-log_2024.zip", "PK-bytes");
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 200);
  EXPECT_EQ(result->body, R"({"code":0})");
  EXPECT_EQ(test::ReadFile(server.uploadsDir() / "stub-log_2024.zip"), "PK-bytes");
}

class StubServerUnsafeName : public testing::TestWithParam<std::string> {};

TEST_P(StubServerUnsafeName, StaysInsideTheUploadsFolder) {
  test::StubServer server;
  httplib::Client client = server.Client();
  // An absolute name points into the server's own folder, so that a server
  // that followed it would be caught here rather than write elsewhere.
  const std::string name =
      GetParam() == "<absolute>" ? server.dir().File("escaped.txt") : GetParam();
  httplib::Result result = Upload(client, name, "content of " + name);
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 200);

  const std::set<std::string> uploads = FilesBelow(server.uploadsDir());
  ASSERT_EQ(uploads.size(), 1u);
  const std::string stored = *uploads.begin();
  EXPECT_EQ(stored.find('/'), std::string::npos) << stored;
  EXPECT_EQ(stored.find(".."), std::string::npos) << stored;
  EXPECT_NE(stored.front(), '.') << stored;
  EXPECT_LE(stored.size(), 255u);
  EXPECT_EQ(test::ReadFile(server.uploadsDir() / stored), "content of " + name);

  std::set<std::string> outside;
  for (const std::string& file : FilesBelow(server.dir().path())) {
    if (!kServerFiles.contains(file) && !file.starts_with("uploads/")) outside.insert(file);
  }
  EXPECT_TRUE(outside.empty()) << *outside.begin();
}

INSTANTIATE_TEST_SUITE_P(Names, StubServerUnsafeName,
                         testing::Values("../x", "a/../../y.zip", "<absolute>", "..", ".", "...",
                                         "dir\\..\\z.zip", ".hidden", "ctl\x01name.zip",
                                         std::string(300, 'n') + ".zip",
                                         "a" + Repeat("\xC3\xA9", 150)));

TEST(StubServerUpload, AFileWithoutANameIsStillKept) {
  test::StubServer server;
  httplib::Client client = server.Client();
  // Without a file name the client sends "file" as a plain field.
  httplib::Result result = Upload(client, "", "nameless");
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 200);
  const std::set<std::string> uploads = FilesBelow(server.uploadsDir());
  ASSERT_EQ(uploads.size(), 1u);
  EXPECT_FALSE(uploads.begin()->empty());
  EXPECT_EQ(test::ReadFile(server.uploadsDir() / *uploads.begin()), "nameless");
}

TEST(StubServerUpload, ASecondFileOfTheSameNameIsKeptBeside) {
  test::StubServer server;
  httplib::Client client = server.Client();
  for (const char* content : {"first", "second", "third"}) {
    httplib::Result result = Upload(client, "log.zip", content);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 200);
  }
  std::multiset<std::string> contents;
  for (const std::string& file : FilesBelow(server.uploadsDir())) {
    contents.insert(test::ReadFile(server.uploadsDir() / file));
  }
  EXPECT_EQ(contents, (std::multiset<std::string>{"first", "second", "third"}));
  EXPECT_EQ(test::ReadFile(server.uploadsDir() / "log.zip"), "first");
}

TEST(StubServerUpload, RefusesARequestWithoutAFilePart) {
  test::StubServer server;
  httplib::Client client = server.Client();
  const httplib::MultipartFormDataItems fieldsOnly = {{"product_id", "42", "", ""},
                                                      {"version", "1.0.0.1", "", ""}};
  httplib::Result noFile = client.Post("/v1/productLogUpload", fieldsOnly);
  ASSERT_TRUE(noFile);
  EXPECT_EQ(noFile->status, 400);
  httplib::Result notMultipart = client.Post("/v1/productLogUpload", "file=x", "text/plain");
  ASSERT_TRUE(notMultipart);
  EXPECT_EQ(notMultipart->status, 400);
  EXPECT_TRUE(FilesBelow(server.uploadsDir()).empty());
}

TEST(StubServerUpload, IsAcceptedWithoutAnUploadsFolder) {
  test::StubServer server({}, /*withUploads=*/false);
  httplib::Client client = server.Client();
  httplib::Result result = Upload(client, "log.zip", "bytes");
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 200);
  EXPECT_FALSE(fs::exists(server.uploadsDir()));
}

}  // namespace
