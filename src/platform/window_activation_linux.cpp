#include "platform/window_activation.h"

#include <easylogging++.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <system_error>
#include <thread>

#include "platform/unique_fd_linux.h"
#include "platform/utf8.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::string_view kRequest = "activate\n";
constexpr std::string_view kReply = "ok\n";
constexpr std::size_t kMaxLine = 64;
constexpr auto kServeTimeout = std::chrono::milliseconds(500);

struct SocketAddress {
  sockaddr_un address{};
  socklen_t length = 0;
};

std::optional<SocketAddress> AddressOf(const std::wstring& className) {
  const std::string name =
      "installer-stub/" + std::to_string(::getuid()) + "/" + ToUtf8(className);
  SocketAddress result;
  result.address.sun_family = AF_UNIX;
  // Abstract names start with a NUL and are exactly `length` bytes long.
  if (name.size() + 1 > sizeof(result.address.sun_path)) {
    LOG(WARNING) << "window activation: class name too long: " << name;
    return std::nullopt;
  }
  std::memcpy(result.address.sun_path + 1, name.data(), name.size());
  result.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
  return result;
}

UniqueFd NewSocket() {
  return UniqueFd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
}

bool WaitReady(int fd, short events, Clock::time_point deadline) {
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    pollfd entry{fd, events, 0};
    const int ready = ::poll(&entry, 1, static_cast<int>(std::max<std::int64_t>(left.count(), 0)));
    if (ready > 0) return true;
    if (ready == 0 || errno != EINTR) return false;
  }
}

bool SendAll(int fd, std::string_view data, Clock::time_point deadline) {
  while (!data.empty()) {
    if (!WaitReady(fd, POLLOUT, deadline)) return false;
    const ssize_t sent = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
    if (sent < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (sent < 0) return false;
    data.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

// Up to and including the first '\n', at most kMaxLine bytes; whatever has
// arrived when the deadline passes or the peer closes.
std::string ReceiveLine(int fd, Clock::time_point deadline) {
  std::string line;
  while (line.size() < kMaxLine && !line.ends_with('\n')) {
    if (!WaitReady(fd, POLLIN, deadline)) break;
    char buffer[kMaxLine];
    const ssize_t got = ::recv(fd, buffer, kMaxLine - line.size(), 0);
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (got <= 0) break;
    line.append(buffer, static_cast<std::size_t>(got));
  }
  return line;
}

// Abstract sockets have no file permissions: check who is on the other end.
bool PeerIsSameUser(int fd) {
  ucred credentials{};
  socklen_t length = sizeof credentials;
  return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0 &&
         length == sizeof credentials && credentials.uid == ::getuid();
}

}  // namespace

class WindowActivationListener::Server {
 public:
  Server(UniqueFd listening, UniqueFd wake, std::function<void()> onActivate)
      : listening_(std::move(listening)),
        wake_(std::move(wake)),
        onActivate_(std::move(onActivate)),
        thread_([this] { Run(); }) {}

  ~Server() {
    const std::uint64_t one = 1;
    if (::write(wake_.get(), &one, sizeof one) != sizeof one) {
      LOG(ERROR) << "window activation: cannot stop the listener: " << std::strerror(errno);
    }
    thread_.join();
  }

 private:
  void Run() {
    for (;;) {
      pollfd entries[2] = {{listening_.get(), POLLIN, 0}, {wake_.get(), POLLIN, 0}};
      if (::poll(entries, 2, -1) < 0) {
        if (errno == EINTR) continue;
        LOG(ERROR) << "window activation: poll failed: " << std::strerror(errno);
        return;
      }
      if (entries[1].revents != 0) return;
      if (entries[0].revents & (POLLERR | POLLNVAL)) {
        LOG(ERROR) << "window activation: listening socket failed";
        return;
      }
      if (entries[0].revents & POLLIN) {
        UniqueFd client(::accept4(listening_.get(), nullptr, nullptr,
                                  SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (client.valid()) Serve(client.get());
      }
    }
  }

  void Serve(int client) {
    if (!PeerIsSameUser(client)) return;
    const auto deadline = Clock::now() + kServeTimeout;
    if (ReceiveLine(client, deadline) != kRequest) return;
    SendAll(client, kReply, deadline);
    onActivate_();
  }

  UniqueFd listening_;
  UniqueFd wake_;
  std::function<void()> onActivate_;
  std::thread thread_;  // last: starts once everything it uses exists
};

WindowActivationListener::WindowActivationListener(std::unique_ptr<Server> server)
    : server_(std::move(server)) {}

WindowActivationListener::~WindowActivationListener() = default;

std::unique_ptr<WindowActivationListener> WindowActivationListener::Listen(
    const std::wstring& className, std::function<void()> onActivate) {
  const auto address = AddressOf(className);
  if (!address) return nullptr;
  UniqueFd listening = NewSocket();
  if (!listening.valid() ||
      ::bind(listening.get(), reinterpret_cast<const sockaddr*>(&address->address),
             address->length) != 0 ||
      ::listen(listening.get(), 16) != 0) {
    LOG(INFO) << "window activation: cannot listen for " << ToUtf8(className) << ": "
              << std::strerror(errno);
    return nullptr;
  }
  UniqueFd wake(::eventfd(0, EFD_CLOEXEC));
  if (!wake.valid()) return nullptr;
  try {
    return std::unique_ptr<WindowActivationListener>(new WindowActivationListener(
        std::make_unique<Server>(std::move(listening), std::move(wake), std::move(onActivate))));
  } catch (const std::system_error& error) {
    LOG(ERROR) << "window activation: no listener thread: " << error.what();
    return nullptr;
  }
}

bool ActivateWindowOfClass(const std::wstring& className, int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  const auto address = AddressOf(className);
  if (!address) return false;
  UniqueFd fd = NewSocket();
  // A Unix socket connects at once or not at all (nobody listening, backlog full).
  if (!fd.valid() ||
      ::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address->address),
                address->length) != 0) {
    return false;
  }
  return PeerIsSameUser(fd.get()) && SendAll(fd.get(), kRequest, deadline) &&
         ReceiveLine(fd.get(), deadline) == kReply;
}

}  // namespace platform
