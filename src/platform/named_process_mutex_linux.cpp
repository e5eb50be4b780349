#include "platform/named_process_mutex.h"

#include <easylogging++.h>
#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/paths.h"
#include "platform/unique_fd_linux.h"
#include "platform/utf8.h"

namespace platform {

class NamedProcessMutex::Lock {
 public:
  Lock(UniqueFd fd, bool owned) : fd_(std::move(fd)), owned_(owned) {}
  bool owned() const { return owned_; }
  bool Release() {
    if (!owned_) return false;
    owned_ = false;
    fd_.reset();  // closing the only descriptor drops the lock
    return true;
  }

 private:
  UniqueFd fd_;
  bool owned_;
};

namespace {

std::string LockFileName(const std::wstring& name) {
  std::string file = ToUtf8(name);
  for (char& c : file) {
    if (c == '/' || c == '\0') c = '_';
  }
  return file + ".lock";
}

std::string RuntimeDir() {
  const char* dir = std::getenv("XDG_RUNTIME_DIR");
  return dir && dir[0] == '/' ? std::string(dir) + "/" : std::string();
}

// O_NOFOLLOW: the temp dir is shared, a planted link must not be followed.
// Opening read-only suffices for flock and works on another user's file.
UniqueFd OpenLockFile(const std::string& path) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644));
  // fs.protected_regular forbids O_CREAT on others' files in sticky dirs.
  if (!fd.valid() && errno == EACCES) {
    fd = UniqueFd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
  }
  return fd;
}

}  // namespace

NamedProcessMutex::NamedProcessMutex(std::unique_ptr<Lock> lock) : lock_(std::move(lock)) {}

NamedProcessMutex::~NamedProcessMutex() = default;

std::unique_ptr<NamedProcessMutex> NamedProcessMutex::Create(const std::wstring& name,
                                                             bool* alreadyExists) {
  if (alreadyExists) *alreadyExists = false;
  const std::string file = LockFileName(name);
  UniqueFd fd;
  for (const std::string& dir : {RuntimeDir(), ToUtf8(GetTempDir())}) {
    if (dir.empty()) continue;
    fd = OpenLockFile(dir + file);
    if (fd.valid()) break;
    LOG(WARNING) << "NamedProcessMutex: cannot open " << dir << file << ": "
                 << std::strerror(errno);
  }
  if (!fd.valid()) return nullptr;

  int result;
  do {
    result = ::flock(fd.get(), LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  const int error = result == 0 ? 0 : errno;
  if (error == EWOULDBLOCK) {
    if (alreadyExists) *alreadyExists = true;
  } else if (error != 0) {
    LOG(WARNING) << "NamedProcessMutex: cannot lock " << file << ": " << std::strerror(error);
  }
  const bool owned = error == 0;
  if (!owned) fd.reset();
  return std::unique_ptr<NamedProcessMutex>(
      new NamedProcessMutex(std::make_unique<Lock>(std::move(fd), owned)));
}

bool NamedProcessMutex::owned() const { return lock_->owned(); }

bool NamedProcessMutex::Release() { return lock_->Release(); }

}  // namespace platform
