#include "platform/named_process_mutex.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "fixtures/scoped_env.h"
#include "fixtures/temp_dir.h"
#include "platform/utf8.h"

extern char** environ;

namespace {

using platform::NamedProcessMutex;
using test::ScopedEnv;
using test::TempDir;

constexpr char kRoleVariable[] = "PLATFORM_TEST_MUTEX_ROLE";
constexpr char kNameVariable[] = "PLATFORM_TEST_MUTEX_NAME";

// Exit codes of the "probe" role.
constexpr int kProbeOwned = 10;
constexpr int kProbeAlreadyExists = 11;
constexpr int kProbeOther = 12;

// This test program, rerun with one test and a role in its environment.
class Child {
 public:
  explicit Child(const std::string& role) {
    std::vector<std::string> env;
    for (char** entry = environ; *entry; ++entry) env.emplace_back(*entry);
    env.push_back(std::string(kRoleVariable) + "=" + role);
    std::vector<char*> envp;
    for (std::string& entry : env) envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string program = "/proc/self/exe";
    std::string filter = "--gtest_filter=NamedProcessMutexChild.Role";
    char* argv[] = {program.data(), filter.data(), nullptr};

    int input[2], output[2];
    if (::pipe2(input, O_CLOEXEC) != 0 || ::pipe2(output, O_CLOEXEC) != 0) std::abort();
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(input[0], 0);
      ::dup2(output[1], 1);
      ::execve(program.c_str(), argv, envp.data());
      ::_exit(127);
    }
    ::close(input[0]);
    ::close(output[1]);
    stdin_ = input[1];
    stdout_ = output[0];
  }
  ~Child() {
    CloseStdin();
    ::close(stdout_);
    if (pid_ > 0) Wait();
  }

  // True once the child printed `marker`, false after 10 s or at its end.
  bool WaitFor(const std::string& marker) {
    std::string seen;
    while (seen.find(marker) == std::string::npos) {
      pollfd entry{stdout_, POLLIN, 0};
      char buffer[256];
      if (::poll(&entry, 1, 10000) <= 0) return false;
      const ssize_t got = ::read(stdout_, buffer, sizeof buffer);
      if (got <= 0) return false;
      seen.append(buffer, static_cast<std::size_t>(got));
    }
    return true;
  }
  void CloseStdin() {
    if (stdin_ >= 0) ::close(stdin_);
    stdin_ = -1;
  }
  int Wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  int stdin_ = -1;
  int stdout_ = -1;
};

std::wstring MutexName() { return platform::FromUtf8(std::getenv(kNameVariable)); }

// Runs only as a child of the tests below.
TEST(NamedProcessMutexChild, Role) {
  const char* role = std::getenv(kRoleVariable);
  if (!role) GTEST_SKIP() << "helper for the NamedProcessMutex tests";
  bool alreadyExists = false;
  auto mutex = NamedProcessMutex::Create(MutexName(), &alreadyExists);
  if (std::string(role) == "probe") {
    ::_exit(mutex && mutex->owned() && !alreadyExists   ? kProbeOwned
            : mutex && !mutex->owned() && alreadyExists ? kProbeAlreadyExists
                                                        : kProbeOther);
  }
  // "hold": keep the lock until the parent closes our input.
  if (!mutex || !mutex->owned()) ::_exit(1);
  if (::write(1, "\nlocked\n", 8) != 8) ::_exit(2);
  char byte;
  while (::read(0, &byte, 1) > 0) {
  }
  ::_exit(0);
}

class NamedProcessMutexTest : public testing::Test {
 protected:
  NamedProcessMutexTest()
      : runtime_("XDG_RUNTIME_DIR", dir_.str()),
        name_(kNameVariable, "QRB_Downloader_180/test." + std::to_string(::getpid())) {}

  TempDir dir_;
  ScopedEnv runtime_;
  ScopedEnv name_;
};

TEST_F(NamedProcessMutexTest, SecondProcessSeesItUntilReleased) {
  bool alreadyExists = true;
  auto mutex = NamedProcessMutex::Create(MutexName(), &alreadyExists);
  ASSERT_TRUE(mutex);
  EXPECT_TRUE(mutex->owned());
  EXPECT_FALSE(alreadyExists);
  // The '/' of the name does not make a subdirectory.
  EXPECT_TRUE(std::filesystem::exists(
      dir_.File("QRB_Downloader_180_test." + std::to_string(::getpid()) + ".lock")));

  EXPECT_EQ(Child("probe").Wait(), kProbeAlreadyExists);
  EXPECT_TRUE(mutex->Release());
  EXPECT_FALSE(mutex->owned());
  EXPECT_FALSE(mutex->Release());
  EXPECT_EQ(Child("probe").Wait(), kProbeOwned);
}

TEST_F(NamedProcessMutexTest, HolderInAnotherProcessAndItsExit) {
  {
    Child holder("hold");
    ASSERT_TRUE(holder.WaitFor("locked\n"));
    bool alreadyExists = false;
    auto mutex = NamedProcessMutex::Create(MutexName(), &alreadyExists);
    ASSERT_TRUE(mutex);
    EXPECT_FALSE(mutex->owned());
    EXPECT_TRUE(alreadyExists);
    holder.CloseStdin();
    EXPECT_EQ(holder.Wait(), 0);
  }
  // The kernel dropped the lock with the process.
  bool alreadyExists = true;
  auto mutex = NamedProcessMutex::Create(MutexName(), &alreadyExists);
  ASSERT_TRUE(mutex);
  EXPECT_TRUE(mutex->owned());
  EXPECT_FALSE(alreadyExists);
}

TEST_F(NamedProcessMutexTest, SameProcessAndDestructorRelease) {
  auto first = NamedProcessMutex::Create(MutexName(), nullptr);
  ASSERT_TRUE(first && first->owned());
  bool alreadyExists = false;
  auto second = NamedProcessMutex::Create(MutexName(), &alreadyExists);
  ASSERT_TRUE(second);
  EXPECT_TRUE(alreadyExists);
  EXPECT_FALSE(second->owned());
  first.reset();
  EXPECT_TRUE(NamedProcessMutex::Create(MutexName(), nullptr)->owned());
}

TEST_F(NamedProcessMutexTest, FallsBackToTempDirWithoutRuntimeDir) {
  TempDir temp;
  ScopedEnv tmpdir("TMPDIR", temp.str());
  for (const std::optional<std::string>& runtime :
       {std::optional<std::string>(), std::optional<std::string>(dir_.File("missing"))}) {
    ScopedEnv env("XDG_RUNTIME_DIR", runtime);
    auto mutex = NamedProcessMutex::Create(L"fallback", nullptr);
    ASSERT_TRUE(mutex);
    EXPECT_TRUE(mutex->owned());
    EXPECT_TRUE(std::filesystem::exists(temp.File("fallback.lock")));
  }
}

TEST_F(NamedProcessMutexTest, NoLockFileAnywhereGivesNull) {
  ScopedEnv tmpdir("TMPDIR", dir_.File("missing"));
  ScopedEnv runtime("XDG_RUNTIME_DIR", dir_.File("missing"));
  bool alreadyExists = true;
  // /tmp is the last resort; a name no file system accepts defeats it.
  EXPECT_EQ(NamedProcessMutex::Create(std::wstring(300, L'x'), &alreadyExists), nullptr);
  EXPECT_FALSE(alreadyExists);
}

}  // namespace
