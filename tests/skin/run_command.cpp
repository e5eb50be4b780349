#include "run_command.h"

#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

extern char** environ;

namespace skintest {
namespace {

// Output goes to files rather than pipes: nothing can block on a full pipe.
class CaptureFile {
 public:
  CaptureFile() : path_("/tmp/skin-test-capture-XXXXXX") {
    const int fd = ::mkstemp(path_.data());
    if (fd >= 0) ::close(fd);
  }
  ~CaptureFile() { ::unlink(path_.c_str()); }
  CaptureFile(const CaptureFile&) = delete;
  CaptureFile& operator=(const CaptureFile&) = delete;

  const std::string& Path() const { return path_; }
  std::string Contents() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::string path_;
};

}  // namespace

CommandResult RunCommand(const std::vector<std::string>& argv) {
  CaptureFile out;
  CaptureFile err;
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out.Path().c_str(), O_WRONLY | O_TRUNC, 0);
  posix_spawn_file_actions_addopen(&actions, 2, err.Path().c_str(), O_WRONLY | O_TRUNC, 0);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  const bool finished = spawned == 0 && waitpid(pid, &status, 0) == pid;
  const int code = finished && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return {code, out.Contents(), err.Contents()};
}

}  // namespace skintest
