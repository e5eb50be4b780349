#include "platform/command_line_words.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

using Words = std::vector<std::wstring>;

struct SplitCase {
  const wchar_t* line;
  Words words;
};

class SplitCommandLineTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTest, CutsLikeWindows) {
  EXPECT_EQ(SplitCommandLine(GetParam().line), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitCommandLineTest,
    testing::Values(
        SplitCase{L"", {}}, SplitCase{L"  \t ", {}},
        SplitCase{L"\"/opt/My App/prod\"", {L"/opt/My App/prod"}},
        // The program word has no escapes: the backslash stays.
        SplitCase{L"\"C:\\Apps\\\" x", {L"C:\\Apps\\", L"x"}},
        SplitCase{L"setup /VERYSILENT /SP-  /NORESTART",
                  {L"setup", L"/VERYSILENT", L"/SP-", L"/NORESTART"}},
        SplitCase{L"setup /DIR=\"/tmp/a b\" /LANG=en",
                  {L"setup", L"/DIR=/tmp/a b", L"/LANG=en"}},
        SplitCase{L"p a\\\\\"b c\" d", {L"p", L"a\\b c", L"d"}},
        SplitCase{L"p a\\\\\\\"b", {L"p", L"a\\\"b"}},
        SplitCase{L"p a\\\\b", {L"p", L"a\\\\b"}},
        SplitCase{L"p \"a\"\"b\"", {L"p", L"a\"b"}},
        SplitCase{L"p \"\"", {L"p", L""}},
        SplitCase{L"p \"unterminated text", {L"p", L"unterminated text"}}));

TEST(QuoteCommandLineWordTest, SplitGivesTheWordBack) {
  for (const std::wstring word :
       {L"plain", L"", L"with blank", L"tab\there", L"quote\"inside", L"trailing\\",
        L"two\\\\ \\\"mixed\\", L"/DIR=/tmp/a b/"}) {
    const Words words = SplitCommandLine(L"p " + QuoteCommandLineWord(word));
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(words[1], word);
  }
}

}  // namespace
}  // namespace platform
