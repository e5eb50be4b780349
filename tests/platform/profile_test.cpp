#include "platform/profile.h"

#include <gtest/gtest.h>

#include "fixtures/temp_dir.h"

namespace {

using platform::GetPrivateProfileInt;
using platform::GetPrivateProfileString;
using test::TempDir;
using test::WriteFile;

class ProfileTest : public testing::Test {
 protected:
  std::wstring Write(const std::string& contents) {
    WriteFile(dir_.File("test.ini"), contents);
    return dir_.WFile("test.ini");
  }
  int Int(const std::string& value, int defaultValue = 77) {
    return GetPrivateProfileInt(L"S", L"k", defaultValue, Write("[S]\nk=" + value + "\n"));
  }

  TempDir dir_;
};

TEST_F(ProfileTest, IntegerIsTheLeadingDecimalNumber) {
  struct Case {
    std::string value;
    int expected;
  };
  const Case cases[] = {
      {"1", 1}, {" 1", 1}, {"1abc", 1}, {"42A94967297", 42}, {"abc", 0}, {"x1", 0},
      {"-3", -3}, {"+2", 2}, {"- 3", 0}, {"0x10", 0}, {"007", 7}, {"2147483647", 2147483647},
      // Like Windows, digits beyond 32 bits wrap around.
      {"4294967296", 0}, {"4294967297", 1}, {"-4294967297", -1}, {"2147483648", -2147483647 - 1},
      {"\"5\"", 5},  // quotes go first
      {"", 77},      // Windows cannot tell an empty value from a missing one
  };
  for (const Case& c : cases) EXPECT_EQ(Int(c.value), c.expected) << "value '" << c.value << "'";
}

TEST_F(ProfileTest, MissingFileSectionOrKeyGivesDefault) {
  const std::wstring file = Write("[S]\nk=5\n[Other]\nx=6\n");
  EXPECT_EQ(GetPrivateProfileInt(L"S", L"missing", -9, file), -9);
  EXPECT_EQ(GetPrivateProfileInt(L"Missing", L"k", -9, file), -9);
  EXPECT_EQ(GetPrivateProfileInt(L"S", L"k", -9, dir_.WFile("none.ini")), -9);
  EXPECT_EQ(GetPrivateProfileInt(L"S", L"k", -9, dir_.wpath()), -9);  // a directory
  EXPECT_EQ(GetPrivateProfileString(L"S", L"x", L"dflt", file), L"dflt");
  EXPECT_EQ(GetPrivateProfileString(L"S", L"k", L"dflt", dir_.WFile("none.ini")), L"dflt");
}

TEST_F(ProfileTest, NamesAreCaseInsensitiveAndTrimmed) {
  const std::wstring file = Write(
      "  [ Setup ]  \n"
      "\tLanguage Code =  de  \n"
      "\xC3\x84nderung=yes\n");
  EXPECT_EQ(GetPrivateProfileString(L"SETUP", L"language code", L"", file), L"de");
  EXPECT_EQ(GetPrivateProfileString(L"setup", L"LANGUAGE CODE", L"", file), L"de");
  EXPECT_EQ(GetPrivateProfileString(L"Setup", L"\u00e4NDERUNG", L"", file), L"yes");
  EXPECT_EQ(GetPrivateProfileString(L"Setup", L"Language", L"-", file), L"-");
}

TEST_F(ProfileTest, FirstSectionAndFirstKeyWin) {
  const std::wstring file = Write(
      "[A]\nk=first\nk=second\nonly=1\n"
      "[B]\nk=b\n"
      "[a]\nk=third\nlater=2\n");
  EXPECT_EQ(GetPrivateProfileString(L"A", L"k", L"", file), L"first");
  EXPECT_EQ(GetPrivateProfileString(L"B", L"k", L"", file), L"b");
  // Only the first [A] is searched.
  EXPECT_EQ(GetPrivateProfileString(L"A", L"later", L"none", file), L"none");
}

TEST_F(ProfileTest, CommentsQuotesAndOddLines) {
  const std::wstring file = Write(
      "k=before any section\n"
      "[S]\n"
      "; k=commented\n"
      "   ;k=indented comment\n"
      "no equals sign\n"
      "[broken section\n"
      "k=v ; not a comment\n"
      "q=\"  quoted  \"\n"
      "single='x'\n"
      "half=\"open\n"
      "empty=\n"
      "eq=a=b\n");
  EXPECT_EQ(GetPrivateProfileString(L"S", L"k", L"", file), L"v ; not a comment");
  EXPECT_EQ(GetPrivateProfileString(L"S", L"q", L"", file), L"  quoted  ");
  EXPECT_EQ(GetPrivateProfileString(L"S", L"single", L"", file), L"x");
  EXPECT_EQ(GetPrivateProfileString(L"S", L"half", L"", file), L"\"open");
  EXPECT_EQ(GetPrivateProfileString(L"S", L"empty", L"dflt", file), L"");
  EXPECT_EQ(GetPrivateProfileString(L"S", L"eq", L"", file), L"a=b");
  EXPECT_EQ(GetPrivateProfileString(L"S", L"no equals sign", L"-", file), L"-");
}

TEST_F(ProfileTest, LineEndsBomAndMissingFinalNewline) {
  for (const std::string& text : {std::string("\xEF\xBB\xBF[S]\r\nk=12\r\nx=y\r\n"),
                                  std::string("[S]\rk=12\rx=y"),
                                  std::string("[S]\nk=12\nx=y")}) {
    const std::wstring file = Write(text);
    EXPECT_EQ(GetPrivateProfileInt(L"S", L"k", 0, file), 12);
    EXPECT_EQ(GetPrivateProfileString(L"S", L"x", L"", file), L"y");
  }
}

TEST_F(ProfileTest, DamagedFilesYieldWhatCanBeRead) {
  std::string garbage;
  for (int i = 0; i < 200000; ++i) garbage += static_cast<char>((i * 2654435761u) >> 24);
  garbage[1000] = '\0';
  const std::string longLine(100 * 1024, 'x');
  const std::wstring file = Write(garbage + "\n[S]\nlong=" + longLine + "\nbad=\xFF\xFEok\n" +
                                  longLine + "\nk=3\n" + garbage);
  EXPECT_EQ(GetPrivateProfileInt(L"S", L"k", 0, file), 3);
  EXPECT_EQ(GetPrivateProfileString(L"S", L"long", L"", file).size(), longLine.size());
  EXPECT_EQ(GetPrivateProfileString(L"S", L"bad", L"", file), L"\uFFFD\uFFFDok");
  EXPECT_EQ(GetPrivateProfileInt(L"S", L"missing", 5, Write(garbage)), 5);
}

TEST_F(ProfileTest, OnlyTheFirstMebibyteIsRead) {
  const std::string filler(1 << 20, '\n');
  const std::wstring file = Write("[S]\nearly=1\n" + filler + "late=2\n");
  EXPECT_EQ(GetPrivateProfileInt(L"S", L"early", 0, file), 1);
  EXPECT_EQ(GetPrivateProfileInt(L"S", L"late", 0, file), 0);
}

}  // namespace
