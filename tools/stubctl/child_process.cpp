#include "child_process.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

extern char** environ;

namespace stubctl {

int RunProgram(const std::vector<std::string>& argv) {
  if (argv.empty()) return -1;
  std::vector<char*> pointers;
  pointers.reserve(argv.size() + 1);
  for (const std::string& arg : argv) pointers.push_back(const_cast<char*>(arg.c_str()));
  pointers.push_back(nullptr);

  pid_t pid = 0;
  if (posix_spawnp(&pid, pointers[0], nullptr, nullptr, pointers.data(), environ) != 0) {
    return -1;
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace stubctl
