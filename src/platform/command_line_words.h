// A Windows command line cut into its words with the rules of
// CommandLineToArgvW, so that programs we start keep the quoting the
// Windows program writes.
//
// The first word is the program: a leading quote runs to the next quote,
// with no escapes. In every later word 2n backslashes before a quote give n
// backslashes and toggle quoting, 2n+1 give n backslashes and a literal
// quote, "" inside quotes is a literal quote, and other backslashes are kept.
// Blanks and tabs outside quotes separate words.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);

// The inverse for one word: quotes it when needed so that SplitCommandLine
// gives it back unchanged (never for the first word, which has no escapes).
std::wstring QuoteCommandLineWord(std::wstring_view word);

}  // namespace platform
