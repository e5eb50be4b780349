#include "package_fixture.h"

#include <sys/stat.h>

#include <fstream>
#include <random>

#include "platform/command_line_words.h"
#include "platform/utf8.h"

namespace fs = std::filesystem;

namespace test {

SamplePayload::SamplePayload() {
  std::mt19937 random(7);
  for (int i = 0; i < 200 * 1024; ++i) blob.push_back(static_cast<char>(random()));
  for (int i = 0; i < 300; ++i) notes += "line " + std::to_string(i) + " of the notes\n";
  fs::permissions(dir.Write("bin/tool", tool), fs::perms::owner_all | fs::perms::group_read |
                                                   fs::perms::group_exec);
  dir.Write("data/blob.bin", blob);
  dir.Write("data/notes.txt", notes);
  fs::create_directories(dir.path() / "share/empty");
}

CommandResult MakePackage(const std::vector<std::string>& arguments) {
  std::vector<std::string> argv{STUBCTL_PROGRAM, "make-package"};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return RunCommand(argv);
}

CommandResult RunPackage(const fs::path& package, const std::wstring& switches,
                         const std::vector<std::string>& wrapper) {
  const std::wstring commandLine = L"\"" + platform::FromUtf8(package.string()) + L"\"" + switches;
  std::vector<std::string> argv = wrapper;
  for (const std::wstring& word : platform::SplitCommandLine(commandLine)) {
    argv.push_back(platform::ToUtf8(word));
  }
  return RunCommand(argv);
}

std::wstring StubSwitches(const fs::path& dir, const fs::path& log) {
  return L" /VERYSILENT /SP- /NORESTART /DIR=\"" + platform::FromUtf8(dir.string()) +
         L"\" /LANG=en /LOG=\"" + platform::FromUtf8(log.string()) + L"\" /sptrack null";
}

std::vector<std::string> LogTexts(const fs::path& log) {
  std::vector<std::string> texts;
  std::ifstream in(log);
  for (std::string line; std::getline(in, line);) {
    // "YYYY-MM-DD HH:MM:SS.mmm   text"
    texts.push_back(line.size() >= 26 ? line.substr(26) : "malformed: " + line);
  }
  return texts;
}

std::set<std::string> ListTree(const fs::path& root) {
  std::set<std::string> names;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::end(it);
       it.increment(ec)) {
    names.insert(it->path().lexically_relative(root).string() + (it->is_directory() ? "/" : ""));
  }
  return names;
}

bool IsExecutable(const fs::path& file) {
  struct stat info {};
  return ::stat(file.c_str(), &info) == 0 && (info.st_mode & S_IXUSR) != 0;
}

}  // namespace test
