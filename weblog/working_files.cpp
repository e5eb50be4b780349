#include "weblog/working_files.h"

#include <filesystem>
#include <fstream>

#include "platform/file_contents.h"
#include "platform/utf8.h"

namespace {

constexpr std::size_t kMaxProxyLength = 254;

// An empty directory (the current one could not be read) means the current one.
std::wstring InDirectory(const std::wstring& directory, const wchar_t* name) {
  return directory.empty() ? std::wstring(name) : directory + L"/" + name;
}

}  // namespace

std::string ReadProxySetting(const std::wstring& directory) {
  // One byte more than kept, so a cut line still shows its "\r" to drop.
  const auto text =
      platform::ReadFileContents(InDirectory(directory, L"proxy.txt"), kMaxProxyLength + 1);
  if (!text) return {};
  std::string line = text->substr(0, text->find('\n'));
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() > kMaxProxyLength) line.resize(kMaxProxyLength);
  return line;
}

bool TestMarkerPresent(const std::wstring& directory) {
  const std::string marker = platform::ToUtf8(InDirectory(directory, L"test"));
  std::error_code error;
  if (std::filesystem::is_directory(marker, error)) return false;
  return std::ifstream(marker).is_open();
}
