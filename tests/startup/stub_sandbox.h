#pragma once
// Product stubs made from the built generic stub with edited copies of the
// shipped skin, run as real processes in a private environment: their own
// temporary folder, home, runtime folder and X display.

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fixtures/child_process.h"
#include "fixtures/temp_dir.h"

namespace test {

// The log line the main window writes once it has initialised.
constexpr char kWindowReady[] = " Request For Product Config -- ";

// How long an orderly shutdown may take: the event log first drains its
// queues, here against services that refuse every connection.
constexpr std::chrono::seconds kShutdownLimit{60};

class StubSandbox {
 public:
  StubSandbox();

  // A copy of the shipped skin folder with its Downloader_id replaced and
  // every service pointed at a local port that refuses connections, so that
  // no test reaches the network; the folder can be edited further.
  std::filesystem::path CopySkin(const std::string& name, const std::string& downloaderId);

  // stubctl make-stub of the shipped stub with `skin` into `name`.
  std::filesystem::path MakeStub(const std::filesystem::path& skin, const std::string& name);

  // A copy of the shipped stub whose skin section holds `bytes` (nullptr
  // removes the section).
  std::filesystem::path MakeStubWithSection(const std::string* bytes, const std::string& name);

  std::unique_ptr<ChildProcess> Start(const std::filesystem::path& stub,
                                      const std::vector<std::string>& args = {}) const;

  // The first log file below the sandbox's temporary folder whose text
  // contains `line`, waiting up to `timeout` for it.
  std::filesystem::path WaitForLogLine(const std::string& line, std::chrono::milliseconds timeout,
                                       const std::filesystem::path& exclude = {}) const;
  std::vector<std::filesystem::path> LogFiles() const;

  const std::filesystem::path& tmp() const { return tmp_; }
  const std::string& display() const { return display_; }

 private:
  TempDir root_;
  std::filesystem::path tmp_;
  std::string display_;
};

int CountOccurrences(const std::string& text, const std::string& needle);

}  // namespace test
