#include "platform/process_start.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <system_error>
#include <thread>

#include "platform/unique_fd_linux.h"
#include "platform/utf8.h"

extern char** environ;

namespace platform {
namespace {

// NUL-terminated copies of texts with the pointer array execve wants; built
// before a fork, since the child may not allocate.
class CStrings {
 public:
  void Add(std::string text) { texts_.push_back(std::move(text)); }
  char* const* Pointers() {
    pointers_.clear();
    for (std::string& text : texts_) pointers_.push_back(text.data());
    pointers_.push_back(nullptr);
    return pointers_.data();
  }

 private:
  std::vector<std::string> texts_;
  std::vector<char*> pointers_;
};

CStrings Arguments(const std::vector<std::wstring>& argv) {
  CStrings arguments;
  for (const std::wstring& word : argv) arguments.Add(ToUtf8(word));
  return arguments;
}

// A thread that waits for the child so that it does not stay a zombie; the
// process-wide SIGCHLD handling stays as it is.
void ReapInBackground(pid_t pid) {
  try {
    std::thread([pid] {
      while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  } catch (const std::system_error&) {
    // No thread to spare: the child stays a zombie until we exit.
  }
}

// The user this root process acts for, as the child is to run.
struct DesktopUser {
  uid_t uid = 0;
  gid_t gid = 0;
  std::vector<gid_t> groups;
  std::string name;  // empty without a password database entry
  std::string home;
};

std::optional<unsigned> NumberFromEnvironment(const char* name) {
  const char* text = std::getenv(name);
  if (!text || *text < '0' || *text > '9') return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const unsigned long value = std::strtoul(text, &end, 10);
  if (errno != 0 || *end != '\0' || value > 0xFFFFFFFEul) return std::nullopt;
  return static_cast<unsigned>(value);
}

// nullopt: stay who we are. An error when the user cannot be made out.
std::optional<DesktopUser> UserToBecome(int& error) {
  error = 0;
  if (::geteuid() != 0) return std::nullopt;
  std::optional<unsigned> uid = NumberFromEnvironment("PKEXEC_UID");
  std::optional<unsigned> gid;
  if (!uid) {
    uid = NumberFromEnvironment("SUDO_UID");
    gid = NumberFromEnvironment("SUDO_GID");
  }
  if (!uid || *uid == 0) return std::nullopt;

  DesktopUser user;
  user.uid = *uid;
  passwd entry{};
  passwd* found = nullptr;
  std::vector<char> buffer(16384);
  if (::getpwuid_r(user.uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found) {
    user.name = entry.pw_name;
    user.home = entry.pw_dir;
    if (!gid) gid = entry.pw_gid;
  }
  if (!gid) {
    error = ESRCH;  // neither the environment nor the database names a group
    return std::nullopt;
  }
  user.gid = *gid;
  user.groups.assign(1, user.gid);
  if (!user.name.empty()) {
    int count = 32;
    user.groups.resize(static_cast<std::size_t>(count));
    if (::getgrouplist(user.name.c_str(), user.gid, user.groups.data(), &count) < 0) {
      user.groups.resize(static_cast<std::size_t>(count));
      ::getgrouplist(user.name.c_str(), user.gid, user.groups.data(), &count);
    }
    user.groups.resize(static_cast<std::size_t>(count));
  }
  return user;
}

// Our environment, or with `user` the environment that user's session
// would give the program.
CStrings Environment(const std::optional<DesktopUser>& user) {
  CStrings environment;
  for (char** entry = environ; *entry; ++entry) {
    const std::string_view text = *entry;
    if (user && (text.starts_with("HOME=") || text.starts_with("USER=") ||
                 text.starts_with("LOGNAME=") || text.starts_with("SUDO_") ||
                 text.starts_with("PKEXEC_UID="))) {
      continue;
    }
    environment.Add(std::string(text));
  }
  if (user && !user->name.empty()) {
    environment.Add("HOME=" + user->home);
    environment.Add("USER=" + user->name);
    environment.Add("LOGNAME=" + user->name);
  }
  return environment;
}

// Between fork and exec: async-signal-safe calls only.
[[noreturn]] void FailInChild(int reportFd) {
  const int error = errno;
  while (::write(reportFd, &error, sizeof error) < 0 && errno == EINTR) {
  }
  ::_exit(127);
}

[[noreturn]] void ExecDetached(int reportFd, const DesktopUser* user, const char* path,
                               char* const* argv, char* const* envp) {
  if (user && (::setgroups(user->groups.size(), user->groups.data()) != 0 ||
               ::setgid(user->gid) != 0 || ::setuid(user->uid) != 0)) {
    FailInChild(reportFd);
  }
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  for (int sig = 1; sig < NSIG; ++sig) ::sigaction(sig, &standard, nullptr);
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  ::execve(path, argv, envp);
  FailInChild(reportFd);
}

}  // namespace

int StartProcess(const std::vector<std::wstring>& argv, const std::wstring& workingDirectory) {
  if (argv.empty()) return EINVAL;
  CStrings arguments = Arguments(argv);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!workingDirectory.empty()) {
    posix_spawn_file_actions_addchdir_np(&actions, ToUtf8(workingDirectory).c_str());
  }
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t all;
  sigset_t none;
  sigfillset(&all);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  pid_t pid = 0;
  char* const* argp = arguments.Pointers();
  // glibc reports a failed chdir or exec of the child here.
  const int error = ::posix_spawn(&pid, argp[0], &actions, &attributes, argp, environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return error;
  ReapInBackground(pid);
  return 0;
}

int StartDetachedProcess(const std::vector<std::wstring>& argv) {
  if (argv.empty()) return EINVAL;
  int error = 0;
  const std::optional<DesktopUser> user = UserToBecome(error);
  if (error != 0) return error;
  CStrings arguments = Arguments(argv);
  CStrings environment = Environment(user);
  char* const* argp = arguments.Pointers();
  char* const* envp = environment.Pointers();

  // The grandchild writes its errno here when it cannot start the program;
  // a successful exec closes the pipe without a word.
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return errno;
  UniqueFd readEnd(pipeFds[0]);
  UniqueFd writeEnd(pipeFds[1]);

  // A double fork: the middle process ends at once, so the program is
  // adopted by init and never becomes our zombie.
  const pid_t middle = ::fork();
  if (middle < 0) return errno;
  if (middle == 0) {
    if (::setsid() < 0) FailInChild(writeEnd.get());
    const pid_t program = ::fork();
    if (program < 0) FailInChild(writeEnd.get());
    if (program > 0) ::_exit(0);
    ExecDetached(writeEnd.get(), user ? &*user : nullptr, argp[0], argp, envp);
  }
  writeEnd.reset();
  int reported = 0;
  ssize_t got = 0;
  while ((got = ::read(readEnd.get(), &reported, sizeof reported)) < 0 && errno == EINTR) {
  }
  while (::waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
  }
  return got == static_cast<ssize_t>(sizeof reported) ? reported : 0;
}

}  // namespace platform
