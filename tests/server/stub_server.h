#pragma once
// The built stub-server, started for one test in a temporary folder of its
// own, on a free port, and spoken to over HTTP.

#include <httplib.h>
#include <json/json.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fixtures/child_process.h"
#include "fixtures/temp_dir.h"

namespace test {

class StubServer {
 public:
  // `extraArgs` follow the usual --port 0 --answer --journal --uploads.
  explicit StubServer(const std::vector<std::string>& extraArgs = {}, bool withUploads = true);

  int port() const { return port_; }
  httplib::Client Client() const { return httplib::Client("127.0.0.1", port_); }
  ChildProcess& process() { return process_; }
  const TempDir& dir() const { return dir_; }
  std::filesystem::path answerFile() const { return dir_.path() / "answer.xml"; }
  std::filesystem::path uploadsDir() const { return dir_.path() / "uploads"; }

  // Every journal line parsed; a line that is not a JSON object, or a last
  // line without its newline, fails the test.
  std::vector<Json::Value> Journal() const;

 private:
  TempDir dir_;
  ChildProcess process_;
  int port_ = 0;
};

// The command line of the server with `args` after the program.
std::vector<std::string> StubServerCommand(const std::vector<std::string>& args);

}  // namespace test
