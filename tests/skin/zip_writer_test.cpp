// ZipWriter: archives that other ZIP readers take as they are meant.
#include "zip/zip_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zip.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fixtures/temp_dir.h"
#include "platform/utf8.h"
#include "zip_contents.h"

namespace fs = std::filesystem;

namespace skintest {
namespace {

std::wstring Wide(const fs::path& path) { return platform::FromUtf8(path.string()); }

std::vector<unsigned char> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::string Repetitive(std::size_t size) {
  std::string text;
  while (text.size() < size) text += "2024-05-01 12:00:00 INFO download progress " +
                                     std::to_string(text.size() % 97) + "\n";
  return text;
}

class ZipWriterTest : public ::testing::Test {
 protected:
  fs::path Archive() const { return dir_.path() / "out.zip"; }

  test::TempDir dir_;
};

TEST_F(ZipWriterTest, WritesFilesAndBuffersDeflatedWithUnicodeNames) {
  const std::string log = Repetitive(64 * 1024);
  const fs::path source = dir_.Write("installer.log", log);
  std::unique_ptr<ZipWriter> writer = ZipWriter::Create(Wide(Archive()));
  ASSERT_NE(writer, nullptr);
  ASSERT_TRUE(writer->AddFile(L"logs/installer.log", Wide(source))) << writer->LastError();
  ASSERT_TRUE(writer->AddBuffer(L"语言/日本語.xml", Bytes("<VerticalLayout/>")));
  ASSERT_TRUE(writer->AddBuffer(L"Ünïcödé dump.dmp", Bytes(Repetitive(1000))));
  EXPECT_FALSE(fs::exists(Archive())) << "nothing may appear before Close";
  ASSERT_TRUE(writer->Close()) << writer->LastError();

  const auto entries = ReadZipFile(Archive());
  ASSERT_TRUE(entries.has_value());
  EXPECT_EQ(Names(*entries), (std::vector<std::string>{"logs/installer.log", "语言/日本語.xml",
                                                       "Ünïcödé dump.dmp"}));
  EXPECT_EQ((*entries)[0].content, log);
  EXPECT_EQ((*entries)[1].content, "<VerticalLayout/>");
  for (const ZipEntry& entry : *entries) EXPECT_EQ(entry.method, ZIP_CM_DEFLATE) << entry.name;
  EXPECT_LT((*entries)[0].compressedSize, log.size() / 4);
}

TEST_F(ZipWriterTest, AddFileKeepsTheFileAsItWasWhenAdded) {
  const fs::path source = dir_.Write("growing.log", "first line\n");
  std::unique_ptr<ZipWriter> writer = ZipWriter::Create(Wide(Archive()));
  ASSERT_NE(writer, nullptr);
  ASSERT_TRUE(writer->AddFile(L"growing.log", Wide(source)));
  dir_.Write("growing.log", "first line\nsecond line written later\n");
  ASSERT_TRUE(writer->Close());
  const auto entries = ReadZipFile(Archive());
  ASSERT_TRUE(entries.has_value());
  EXPECT_EQ(entries->at(0).content, "first line\n");
}

TEST_F(ZipWriterTest, RefusesBadEntriesAndKeepsTheGoodOnes) {
  fs::create_directory(dir_.path() / "folder");
  std::unique_ptr<ZipWriter> writer = ZipWriter::Create(Wide(Archive()));
  ASSERT_NE(writer, nullptr);
  ASSERT_TRUE(writer->AddBuffer(L"kept.txt", Bytes("kept")));
  EXPECT_FALSE(writer->AddBuffer(L"kept.txt", Bytes("duplicate")));
  EXPECT_FALSE(writer->AddBuffer(L"", Bytes("no name")));
  EXPECT_FALSE(writer->AddBuffer(L"/etc/absolute", Bytes("absolute")));
  EXPECT_FALSE(writer->AddBuffer(L"folder/", Bytes("folder")));
  EXPECT_FALSE(writer->AddFile(L"missing.txt", Wide(dir_.path() / "missing.txt")));
  EXPECT_FALSE(writer->AddFile(L"folder.txt", Wide(dir_.path() / "folder")));
  EXPECT_FALSE(writer->LastError().empty());
  ASSERT_TRUE(writer->Close());

  const auto entries = ReadZipFile(Archive());
  ASSERT_TRUE(entries.has_value());
  ASSERT_EQ(Names(*entries), std::vector<std::string>{"kept.txt"});
  EXPECT_EQ(entries->at(0).content, "kept");
}

TEST_F(ZipWriterTest, EmptyArchiveIsStillAValidZip) {
  std::unique_ptr<ZipWriter> writer = ZipWriter::Create(Wide(Archive()));
  ASSERT_NE(writer, nullptr);
  ASSERT_TRUE(writer->Close());
  const auto entries = ReadZipFile(Archive());
  ASSERT_TRUE(entries.has_value());
  EXPECT_TRUE(entries->empty());
}

TEST_F(ZipWriterTest, ReplacesAnExistingFile) {
  dir_.Write("out.zip", "an old file that is no archive");
  std::unique_ptr<ZipWriter> writer = ZipWriter::Create(Wide(Archive()));
  ASSERT_NE(writer, nullptr);
  ASSERT_TRUE(writer->AddBuffer(L"new.txt", Bytes("new")));
  ASSERT_TRUE(writer->Close());
  const auto entries = ReadZipFile(Archive());
  ASSERT_TRUE(entries.has_value());
  EXPECT_EQ(Names(*entries), std::vector<std::string>{"new.txt"});
}

TEST_F(ZipWriterTest, UnwritablePathsGiveNoWriter) {
  fs::create_directory(dir_.path() / "folder");
  for (const fs::path& path : {dir_.path() / "missing" / "out.zip", dir_.path() / "folder"}) {
    EXPECT_EQ(ZipWriter::Create(Wide(path)), nullptr) << path;
  }
  EXPECT_FALSE(fs::exists(dir_.path() / "missing"));
}

TEST_F(ZipWriterTest, CloseFailsWhenTheFolderIsGoneAndWorksOnlyOnce) {
  const fs::path folder = dir_.path() / "vanishing";
  fs::create_directory(folder);
  std::unique_ptr<ZipWriter> writer = ZipWriter::Create(Wide(folder / "out.zip"));
  ASSERT_NE(writer, nullptr);
  ASSERT_TRUE(writer->AddBuffer(L"a.txt", Bytes("a")));
  fs::remove_all(folder);
  EXPECT_FALSE(writer->Close());
  EXPECT_FALSE(writer->LastError().empty());
  EXPECT_FALSE(writer->Close());
  EXPECT_FALSE(writer->AddBuffer(L"b.txt", Bytes("b")));
}

TEST_F(ZipWriterTest, DestroyedWithoutCloseWritesNothing) {
  {
    std::unique_ptr<ZipWriter> writer = ZipWriter::Create(Wide(Archive()));
    ASSERT_NE(writer, nullptr);
    ASSERT_TRUE(writer->AddBuffer(L"a.txt", Bytes("a")));
  }
  EXPECT_TRUE(fs::is_empty(dir_.path()));
}

}  // namespace
}  // namespace skintest
