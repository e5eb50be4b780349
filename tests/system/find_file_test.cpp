// Searching the subfolders of a folder for a file.
#include <gtest/gtest.h>

#include <filesystem>

#include "fixtures/temp_dir.h"
#include "system/find_file.h"

namespace {

namespace fs = std::filesystem;

class FindFileTest : public testing::Test {
 protected:
  // The folder argument, with its trailing "/".
  std::wstring Root() const { return dir_.wpath() + L"/"; }

  test::TempDir dir_;
};

TEST_F(FindFileTest, FindsTheFileInANestedFolder) {
  dir_.Write("a/b/c/brisko.dat", "x");
  dir_.Write("a/other.dat", "x");
  EXPECT_EQ(FindFileInSubfolders(Root(), L"brisko.dat"), Root() + L"a/b/c/brisko.dat");
  // A folder given without its "/" gives the same path.
  EXPECT_EQ(FindFileInSubfolders(dir_.wpath(), L"brisko.dat"), Root() + L"a/b/c/brisko.dat");
}

TEST_F(FindFileTest, ASubfolderIsTestedBeforeItsOwnSubfolders) {
  dir_.Write("a/deeper/brisko.dat", "x");
  dir_.Write("a/brisko.dat", "x");
  EXPECT_EQ(FindFileInSubfolders(Root(), L"brisko.dat"), Root() + L"a/brisko.dat");
}

TEST_F(FindFileTest, FilesDirectlyInTheFolderDoNotCount) {
  dir_.Write("brisko.dat", "x");
  fs::create_directories(dir_.path() / "empty");
  EXPECT_EQ(FindFileInSubfolders(Root(), L"brisko.dat"), L"");
}

TEST_F(FindFileTest, MissingFileFolderOrNamesGiveEmpty) {
  dir_.Write("a/b/other.dat", "x");
  EXPECT_EQ(FindFileInSubfolders(Root(), L"brisko.dat"), L"");
  EXPECT_EQ(FindFileInSubfolders(Root() + L"missing/", L"other.dat"), L"");
  EXPECT_EQ(FindFileInSubfolders(Root(), L""), L"");
  EXPECT_EQ(FindFileInSubfolders(L"", L"other.dat"), L"");
  // A file given as the folder has no subfolders.
  EXPECT_EQ(FindFileInSubfolders(Root() + L"a/b/other.dat/", L"other.dat"), L"");
}

TEST_F(FindFileTest, NonAsciiNames) {
  dir_.Write("Ordner \xc3\xbc/\xe7\x9b\xae/\xe7\xae\x80.dat", "x");
  EXPECT_EQ(FindFileInSubfolders(Root(), L"\u7b80.dat"),
            Root() + L"Ordner \u00fc/\u76ee/\u7b80.dat");
}

TEST_F(FindFileTest, LinkedFoldersAreNotEnteredSoLoopsEnd) {
  dir_.Write("a/b/other.dat", "x");
  fs::create_directory_symlink(dir_.path(), dir_.path() / "a" / "b" / "up");
  fs::create_directory_symlink("..", dir_.path() / "a" / "parent");
  EXPECT_EQ(FindFileInSubfolders(Root(), L"brisko.dat"), L"");

  test::TempDir elsewhere;
  elsewhere.Write("brisko.dat", "x");
  elsewhere.Write("inside/brisko.dat", "x");
  fs::create_directory_symlink(elsewhere.path(), dir_.path() / "link");
  EXPECT_EQ(FindFileInSubfolders(Root(), L"brisko.dat"), L"");
}

TEST_F(FindFileTest, ALinkedFileIsFound) {
  dir_.Write("target/real.dat", "x");
  fs::create_directories(dir_.path() / "a");
  fs::create_symlink(dir_.path() / "target" / "real.dat", dir_.path() / "a" / "brisko.dat");
  EXPECT_EQ(FindFileInSubfolders(Root(), L"brisko.dat"), Root() + L"a/brisko.dat");
}

}  // namespace
