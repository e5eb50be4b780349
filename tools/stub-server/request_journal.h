#pragma once
// The record of every request the server has seen, one JSON object a line,
// so a test or the demo can check what the stub sent.

#include <httplib.h>

#include <fstream>
#include <mutex>
#include <string>

class RequestJournal {
 public:
  // Appends to `file`; check ok() before use.
  explicit RequestJournal(const std::string& file);

  bool ok() const { return out_.good(); }

  // Safe from any thread: each line is written whole and flushed.
  void Record(const httplib::Request& request);

 private:
  std::mutex lock_;
  std::ofstream out_;
};
