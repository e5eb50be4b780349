#pragma once
// A payload folder, packages made from it with stubctl make-package, and
// runs of a package with the command line the stub writes.

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "fixtures/run_command.h"
#include "fixtures/temp_dir.h"

namespace test {

// bin/tool (executable), data/blob.bin (random, 200 KiB), data/notes.txt
// (text) and the empty folder share/empty.
struct SamplePayload {
  SamplePayload();

  TempDir dir;
  std::string tool = "#!/bin/sh\necho the installed tool\n";
  std::string blob;
  std::string notes;
};

CommandResult MakePackage(const std::vector<std::string>& arguments);

// Runs `package` with `switches` appended as the stub appends them: a
// Windows command line cut with SplitCommandLine.
CommandResult RunPackage(const std::filesystem::path& package, const std::wstring& switches,
                         const std::vector<std::string>& wrapper = {});

// The stub's switches, with DIR and LOG quoted.
std::wstring StubSwitches(const std::filesystem::path& dir, const std::filesystem::path& log);

// The log's texts without their time stamps.
std::vector<std::string> LogTexts(const std::filesystem::path& log);

// Every path below `root`, relative, folders ending in '/'.
std::set<std::string> ListTree(const std::filesystem::path& root);

bool IsExecutable(const std::filesystem::path& file);

}  // namespace test
