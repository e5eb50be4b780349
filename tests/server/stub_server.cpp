#include "stub_server.h"

#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <thread>

namespace test {

namespace {

std::vector<std::string> ServerArgs(const TempDir& dir, const std::vector<std::string>& extraArgs,
                                    bool withUploads) {
  std::vector<std::string> args = {
      "--port", "0", "--answer", dir.File("answer.xml"), "--journal", dir.File("journal.log")};
  if (withUploads) args.insert(args.end(), {"--uploads", dir.File("uploads")});
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  return StubServerCommand(args);
}

// The port the server announced, 0 when it did not within a few seconds.
int AwaitPort(ChildProcess& process, const std::filesystem::path& stdoutFile) {
  static const std::regex kListening("listening on 127\\.0\\.0\\.1:([0-9]+)\n");
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    std::smatch match;
    const std::string out = ReadFile(stdoutFile);
    if (std::regex_search(out, match, kListening)) return std::stoi(match[1]);
    if (process.WaitForExit(std::chrono::milliseconds(0))) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return 0;
}

}  // namespace

std::vector<std::string> StubServerCommand(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {STUB_SERVER_PROGRAM};
  argv.insert(argv.end(), args.begin(), args.end());
  return argv;
}

StubServer::StubServer(const std::vector<std::string>& extraArgs, bool withUploads)
    : process_(ServerArgs(dir_, extraArgs, withUploads), {}, dir_.File("stdout.txt"),
               dir_.File("stderr.txt")) {
  port_ = AwaitPort(process_, dir_.path() / "stdout.txt");
  if (port_ == 0) {
    ADD_FAILURE() << "stub-server did not start: " << ReadFile(dir_.path() / "stderr.txt");
  }
}

std::vector<Json::Value> StubServer::Journal() const {
  const std::string text = ReadFile(dir_.path() / "journal.log");
  if (!text.empty() && text.back() != '\n') ADD_FAILURE() << "the journal ends in half a line";
  std::vector<Json::Value> lines;
  const std::unique_ptr<Json::CharReader> reader(Json::CharReaderBuilder().newCharReader());
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    Json::Value line;
    std::string error;
    if (!reader->parse(text.data() + start, text.data() + end, &line, &error) || !line.isObject()) {
      ADD_FAILURE() << "not a JSON object: " << text.substr(start, end - start) << ": " << error;
    }
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace test
