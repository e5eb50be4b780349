#include "startup/stub_sandbox.h"

#include <stdexcept>
#include <thread>

#include "fixtures/run_command.h"
#include "fixtures/endpoints_xml.h"
#include "fixtures/xvfb_server.h"

namespace test {

namespace fs = std::filesystem;

namespace {

void ReplaceOnce(std::string& text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  if (at == std::string::npos) throw std::runtime_error("not found: " + from);
  text.replace(at, from.size(), to);
}

// A tool the sandbox needs; what it printed explains its failure.
void Run(const std::vector<std::string>& argv, const std::string& failure) {
  const CommandResult result = RunCommand(argv);
  if (result.exitCode != 0) throw std::runtime_error(failure + ": " + result.err);
}

}  // namespace

StubSandbox::StubSandbox() : tmp_(root_.path() / "tmp"), display_(XvfbServer::Display()) {
  for (const char* dir : {"tmp", "home", "run", "config"}) fs::create_directories(root_.path() / dir);
  fs::permissions(root_.path() / "run", fs::perms::owner_all);
}

fs::path StubSandbox::CopySkin(const std::string& name, const std::string& downloaderId) {
  const fs::path skin = root_.path() / name;
  fs::copy(STUB_SKIN_DIR, skin, fs::copy_options::recursive);
  const fs::path configure = skin / "configure" / "configure.xml";
  std::string xml = ReadFile(configure);
  ReplaceOnce(xml, "name=\"Downloader_id\" text=\"180\"", "name=\"Downloader_id\" text=\"" + downloaderId + "\"");
  WriteFile(configure, xml);
  WriteFile(skin / "configure" / "endpoints.xml", EndpointsXmlAllAt(kRefusingBaseUrl));
  return skin;
}

fs::path StubSandbox::MakeStub(const fs::path& skin, const std::string& name) {
  const fs::path stub = root_.path() / name;
  Run({STUB_BUILD_DIR "/stubctl", "make-stub", STUB_BUILD_DIR "/installer-stub", skin.string(),
       stub.string()},
      "make-stub failed for " + name);
  return stub;
}

fs::path StubSandbox::MakeStubWithSection(const std::string* bytes, const std::string& name) {
  const fs::path stub = root_.path() / name;
  std::vector<std::string> argv = {"/usr/bin/objcopy"};
  if (bytes) {
    const fs::path section = root_.Write(name + ".section", *bytes);
    argv.push_back("--update-section");
    argv.push_back(".ZIPRES.138=" + section.string());
  } else {
    argv.push_back("--remove-section");
    argv.push_back(".ZIPRES.138");
  }
  argv.push_back(STUB_BUILD_DIR "/installer-stub");
  argv.push_back(stub.string());
  Run(argv, "objcopy failed for " + name);
  return stub;
}

std::unique_ptr<ChildProcess> StubSandbox::Start(const fs::path& stub,
                                                 const std::vector<std::string>& args) const {
  std::vector<std::string> argv = {stub.string()};
  argv.insert(argv.end(), args.begin(), args.end());
  return std::make_unique<ChildProcess>(
      argv, std::map<std::string, std::string>{
                {"DISPLAY", display_},
                {"TMPDIR", tmp_.string()},
                {"HOME", (root_.path() / "home").string()},
                {"XDG_RUNTIME_DIR", (root_.path() / "run").string()},
                {"XDG_CONFIG_HOME", (root_.path() / "config").string()},
                {"LANG", "en_US.UTF-8"},
                {"LC_ALL", ""},
                {"GDK_BACKEND", "x11"},
                {"NO_AT_BRIDGE", "1"},
            });
}

std::vector<fs::path> StubSandbox::LogFiles() const {
  std::vector<fs::path> logs;
  for (const auto& entry : fs::recursive_directory_iterator(tmp_)) {
    if (entry.is_regular_file() && entry.path().extension() == ".log") logs.push_back(entry.path());
  }
  return logs;
}

fs::path StubSandbox::WaitForLogLine(const std::string& line, std::chrono::milliseconds timeout,
                                     const fs::path& exclude) const {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  do {
    for (const fs::path& log : LogFiles()) {
      if (log != exclude && ReadFile(log).find(line) != std::string::npos) return log;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  } while (std::chrono::steady_clock::now() < deadline);
  return {};
}

int CountOccurrences(const std::string& text, const std::string& needle) {
  int count = 0;
  for (std::size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++count;
  return count;
}

}  // namespace test
