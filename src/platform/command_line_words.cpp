#include "platform/command_line_words.h"

namespace platform {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

void SkipBlanks(std::wstring_view text, std::size_t& i) {
  while (i < text.size() && IsBlank(text[i])) ++i;
}

std::wstring ProgramWord(std::wstring_view text, std::size_t& i) {
  std::wstring word;
  if (i < text.size() && text[i] == L'"') {
    ++i;
    while (i < text.size() && text[i] != L'"') word += text[i++];
    if (i < text.size()) ++i;  // the closing quote
  } else {
    while (i < text.size() && !IsBlank(text[i])) word += text[i++];
  }
  return word;
}

std::wstring Word(std::wstring_view text, std::size_t& i) {
  std::wstring word;
  bool quoted = false;
  while (i < text.size() && (quoted || !IsBlank(text[i]))) {
    if (text[i] == L'\\') {
      std::size_t slashes = 0;
      while (i < text.size() && text[i] == L'\\') ++slashes, ++i;
      if (i < text.size() && text[i] == L'"') {
        word.append(slashes / 2, L'\\');
        if (slashes % 2 == 1) {
          word += L'"';
          ++i;
        }
      } else {
        word.append(slashes, L'\\');
      }
    } else if (text[i] == L'"') {
      ++i;
      if (quoted && i < text.size() && text[i] == L'"') {
        word += L'"';
        ++i;
      } else {
        quoted = !quoted;
      }
    } else {
      word += text[i++];
    }
  }
  return word;
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine) {
  std::vector<std::wstring> words;
  std::size_t i = 0;
  SkipBlanks(commandLine, i);
  if (i >= commandLine.size()) return words;
  words.push_back(ProgramWord(commandLine, i));
  for (SkipBlanks(commandLine, i); i < commandLine.size(); SkipBlanks(commandLine, i)) {
    words.push_back(Word(commandLine, i));
  }
  return words;
}

std::wstring QuoteCommandLineWord(std::wstring_view word) {
  if (!word.empty() && word.find_first_of(L" \t\"") == std::wstring_view::npos) {
    return std::wstring(word);
  }
  std::wstring quoted = L"\"";
  std::size_t slashes = 0;
  for (wchar_t c : word) {
    if (c == L'\\') {
      ++slashes;
      continue;
    }
    // Backslashes count double only before a quote.
    quoted.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
    slashes = 0;
    quoted += c;
  }
  quoted.append(slashes * 2, L'\\');  // they now stand before the closing quote
  quoted += L'"';
  return quoted;
}

}  // namespace platform
