#include "platform/window_activation.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstring>

#include "platform/manual_reset_event.h"

namespace {

using platform::ActivateWindowOfClass;
using platform::ManualResetEvent;
using platform::WindowActivationListener;

// Unique per test process: tests may run in parallel.
std::wstring ClassName(const wchar_t* base) {
  return std::wstring(base) + L"_" + std::to_wstring(::getpid());
}

// A client that connects like ActivateWindowOfClass and then does as told.
int ConnectRaw(const std::wstring& className) {
  std::string name = "installer-stub/" + std::to_string(::getuid()) + "/";
  for (wchar_t c : className) name += static_cast<char>(c);  // ASCII names only
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path + 1, name.data(), name.size());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
  EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), length), 0);
  return fd;
}

class WindowActivationTest : public testing::Test {
 protected:
  void Listen() {
    listener_ = WindowActivationListener::Listen(name_, [this] {
      ++calls_;
      activated_->Set();
    });
    ASSERT_TRUE(listener_);
  }

  const std::wstring name_ = ClassName(L"InstallerMainWnd");
  std::shared_ptr<ManualResetEvent> activated_ = ManualResetEvent::Open(L"", false);
  std::atomic<int> calls_{0};
  std::unique_ptr<WindowActivationListener> listener_;
};

TEST_F(WindowActivationTest, SecondInstanceActivatesTheFirst) {
  Listen();
  EXPECT_TRUE(ActivateWindowOfClass(name_));
  EXPECT_TRUE(activated_->Wait(5000));
  activated_->Reset();
  EXPECT_TRUE(ActivateWindowOfClass(name_));
  EXPECT_TRUE(activated_->Wait(5000));
  EXPECT_EQ(calls_, 2);
}

TEST_F(WindowActivationTest, NameIsTakenWhileListening) {
  Listen();
  EXPECT_EQ(WindowActivationListener::Listen(name_, [] {}), nullptr);
  EXPECT_FALSE(ActivateWindowOfClass(ClassName(L"OtherClass")));
  listener_.reset();
  EXPECT_FALSE(ActivateWindowOfClass(name_));
  Listen();  // free again once the first listener is gone
}

TEST_F(WindowActivationTest, NoListenerFailsWithoutWaiting) {
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(ActivateWindowOfClass(name_, 60000));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST_F(WindowActivationTest, SilentAndRudeClientsDoNotBlockOrActivate) {
  Listen();
  const int silent = ConnectRaw(name_);
  const int rude = ConnectRaw(name_);
  ASSERT_EQ(::write(rude, "raise\n", 6), 6);
  EXPECT_TRUE(ActivateWindowOfClass(name_, 3000));
  EXPECT_TRUE(activated_->Wait(5000));
  EXPECT_EQ(calls_, 1);
  char reply[8];
  EXPECT_EQ(::read(rude, reply, sizeof reply), 0);  // closed without an answer
  ::close(silent);
  ::close(rude);
}

TEST_F(WindowActivationTest, DestructorReturnsWithAClientConnected) {
  Listen();
  const int silent = ConnectRaw(name_);
  listener_.reset();
  ::close(silent);
}

TEST(WindowActivation, OverlongClassNameIsRefused) {
  const std::wstring name(200, L'w');
  EXPECT_EQ(WindowActivationListener::Listen(name, [] {}), nullptr);
  EXPECT_FALSE(ActivateWindowOfClass(name));
}

}  // namespace
