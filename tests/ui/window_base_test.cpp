#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/ui/test_support.h"
#include "ui/message_loop.h"
#include "ui/messages.h"
#include "ui/resources.h"
#include "ui/window_base.h"

namespace {

using namespace std::chrono_literals;

struct Delivery {
  unsigned msg;
  std::uintptr_t wparam;
  std::thread::id thread;
};

class TestWindow : public ui::WindowBase {
 public:
  explicit TestWindow(std::wstring skin_file = L"main.xml") : skin_file_(std::move(skin_file)) {}

  std::vector<Delivery> deliveries;
  std::vector<std::string> notifications;
  std::vector<std::wstring> clicks;
  int init_calls = 0;
  int final_calls = 0;
  bool keep_open = false;

  int Count(unsigned msg) const {
    int n = 0;
    for (const Delivery& d : deliveries) n += d.msg == msg ? 1 : 0;
    return n;
  }

 protected:
  std::wstring GetWindowClassName() const override { return L"TestWindow"; }
  std::wstring GetSkinFolder() const override { return L"skin"; }
  std::wstring GetSkinFile() const override { return skin_file_; }
  void InitWindow() override { ++init_calls; }
  void OnClick(ui::Notify& msg) override { clicks.push_back(msg.sender->GetName()); }
  void Notify(ui::Notify& msg) override {
    notifications.push_back(msg.type);
    WindowBase::Notify(msg);
  }
  std::intptr_t HandleMessage(unsigned msg, std::uintptr_t wparam, std::intptr_t lparam,
                              bool& handled) override {
    deliveries.push_back({msg, wparam, std::this_thread::get_id()});
    if (msg == ui::WM_CLOSE && keep_open) {
      handled = true;
      return 0;
    }
    return WindowBase::HandleMessage(msg, wparam, lparam, handled);
  }
  void OnFinalMessage() override { ++final_calls; }

 private:
  std::wstring skin_file_;
};

class WindowBaseTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ui::SetResourcePackage(ui_test::TestSkin(), "test skin"); }
  static void TearDownTestSuite() { ui::SetResourcePackage(nullptr); }

  // Pumps the loop until `done` holds or two seconds pass.
  template <class Predicate>
  static bool PumpUntil(Predicate done) {
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      ui::PumpPendingMessages();
      std::this_thread::sleep_for(1ms);
    }
    return true;
  }
};

TEST_F(WindowBaseTest, CreateHeadlessBuildsTheSkinAndInitializes) {
  TestWindow window;
  EXPECT_FALSE(window.IsWindow());
  ASSERT_TRUE(window.CreateHeadless());
  EXPECT_TRUE(window.IsWindow());
  EXPECT_TRUE(window.IsHeadless());
  EXPECT_EQ(window.init_calls, 1);
  EXPECT_EQ(window.notifications, (std::vector<std::string>{"windowinit"}));
  EXPECT_EQ(window.GetPaintManager().GetClientSize(), (ui::Size{400, 300}));
  EXPECT_EQ(window.GetWindowRect(), (ui::Rect{0, 0, 400, 300}));
  EXPECT_NE(window.GetPaintManager().FindControl(L"install_btn"), nullptr);
  EXPECT_FALSE(window.CreateHeadless()) << "already created";

  window.MoveWindow(10, 20, 300, 200);
  EXPECT_EQ(window.GetWindowRect(), (ui::Rect{10, 20, 310, 220}));
  EXPECT_EQ(window.GetPaintManager().GetRoot()->GetPos(), (ui::Rect{0, 0, 300, 200}));
}

TEST_F(WindowBaseTest, CreateFailsWithoutASkin) {
  TestWindow missing(L"nope.xml");
  EXPECT_FALSE(missing.CreateHeadless());
  EXPECT_FALSE(missing.IsWindow());
  ui::SetResourcePackage(nullptr);
  TestWindow no_package;
  EXPECT_FALSE(no_package.Create(nullptr, L"t", 0, 0, 0, 0));
  ui::SetResourcePackage(ui_test::TestSkin());
}

TEST_F(WindowBaseTest, ClicksAreRoutedToOnClick) {
  TestWindow window;
  ASSERT_TRUE(window.CreateHeadless());
  ui::PaintManager& m = window.GetPaintManager();
  const ui::Rect r = m.FindControl(L"install_btn")->GetPos();
  m.OnMouseDown(r.left + 2, r.top + 2);
  m.OnMouseUp(r.left + 2, r.top + 2);
  EXPECT_EQ(window.clicks, (std::vector<std::wstring>{L"install_btn"}));
}

TEST_F(WindowBaseTest, PostedMessagesArriveOnTheUiThread) {
  TestWindow window;
  ASSERT_TRUE(window.CreateHeadless());
  std::thread worker([&] {
    for (unsigned i = 0; i < 10; ++i) EXPECT_TRUE(window.PostMessage(ui::WM_USER + 1, i));
  });
  worker.join();
  ASSERT_TRUE(PumpUntil([&] { return window.Count(ui::WM_USER + 1) == 10; }));
  for (unsigned i = 0; i < 10; ++i) {
    EXPECT_EQ(window.deliveries[i].wparam, i) << "in posting order";
    EXPECT_EQ(window.deliveries[i].thread, std::this_thread::get_id());
  }
}

TEST_F(WindowBaseTest, TimersFireUntilKilled) {
  TestWindow window;
  ASSERT_TRUE(window.CreateHeadless());
  ASSERT_TRUE(window.SetTimer(7, 5));
  ASSERT_TRUE(PumpUntil([&] { return window.Count(ui::WM_TIMER) >= 2; }));
  EXPECT_EQ(window.deliveries.front().wparam, 7u);
  EXPECT_TRUE(window.KillTimer(7));
  EXPECT_FALSE(window.KillTimer(7));
  const int fired = window.Count(ui::WM_TIMER);
  std::this_thread::sleep_for(30ms);
  ui::PumpPendingMessages();
  EXPECT_EQ(window.Count(ui::WM_TIMER), fired);
}

TEST_F(WindowBaseTest, CloseDestroysUnlessHandled) {
  TestWindow window;
  ASSERT_TRUE(window.CreateHeadless());
  window.keep_open = true;
  window.Close(3);
  EXPECT_TRUE(window.IsWindow());
  EXPECT_EQ(window.final_calls, 0);

  window.keep_open = false;
  ASSERT_TRUE(window.SetTimer(1, 1));
  window.Close(4);
  EXPECT_FALSE(window.IsWindow());
  EXPECT_EQ(window.final_calls, 1);
  EXPECT_EQ(window.Count(ui::WM_DESTROY), 1);
  EXPECT_EQ(window.deliveries[1].wparam, 4u) << "the code travels in wparam";
  window.Close();
  EXPECT_EQ(window.final_calls, 1) << "closing twice does nothing";
  EXPECT_FALSE(window.SetTimer(1, 1));
  const size_t seen = window.deliveries.size();
  std::this_thread::sleep_for(10ms);
  ui::PumpPendingMessages();
  EXPECT_EQ(window.deliveries.size(), seen) << "no timer after destruction";
}

TEST_F(WindowBaseTest, MessagesToADestroyedWindowAreDropped) {
  TestWindow window;
  ASSERT_TRUE(window.CreateHeadless());
  ASSERT_TRUE(window.PostMessage(ui::WM_USER));
  window.Close();
  EXPECT_FALSE(window.PostMessage(ui::WM_USER));
  ui::PumpPendingMessages();
  EXPECT_EQ(window.Count(ui::WM_USER), 0);

  // The object itself may go away with messages still queued.
  auto doomed = std::make_unique<TestWindow>();
  ASSERT_TRUE(doomed->CreateHeadless());
  ASSERT_TRUE(doomed->PostMessage(ui::WM_USER));
  ASSERT_TRUE(doomed->SetTimer(2, 0));
  doomed.reset();
  ui::PumpPendingMessages();
}

TEST_F(WindowBaseTest, RunMessageLoopEndsWithThePostedCode) {
  std::thread quitter([] {
    std::this_thread::sleep_for(20ms);
    ui::PostQuitMessage(42);
  });
  EXPECT_EQ(ui::RunMessageLoop(), 42);
  quitter.join();
  ui::PostQuitMessage(5);  // before the loop runs
  EXPECT_EQ(ui::RunMessageLoop(), 5);
}

}  // namespace
