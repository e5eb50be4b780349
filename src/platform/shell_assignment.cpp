#include "platform/shell_assignment.h"

namespace platform {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Unquotes the shell word at the start of `rest`; nullopt when a quote is
// left open. Text after the word (a comment, say) is ignored.
std::optional<std::string> ParseWord(std::string_view rest) {
  std::string value;
  std::size_t i = 0;
  while (i < rest.size() && !IsBlank(rest[i])) {
    const char c = rest[i++];
    if (c == '\'') {
      const std::size_t end = rest.find('\'', i);
      if (end == std::string_view::npos) return std::nullopt;
      value.append(rest.substr(i, end - i));
      i = end + 1;
    } else if (c == '"') {
      for (;;) {
        if (i >= rest.size()) return std::nullopt;
        char q = rest[i++];
        if (q == '"') break;
        if (q == '\\' && i < rest.size()) q = rest[i++];
        value += q;
      }
    } else if (c == '\\' && i < rest.size()) {
      value += rest[i++];
    } else {
      value += c;
    }
  }
  return value;
}

}  // namespace

std::optional<std::string> FindShellAssignment(std::string_view text,
                                               std::string_view name) {
  std::optional<std::string> found;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    if (line.size() <= name.size() || !line.starts_with(name) ||
        line[name.size()] != '=') {
      continue;
    }
    if (auto value = ParseWord(line.substr(name.size() + 1))) found = std::move(value);
  }
  return found;
}

}  // namespace platform
