// The main window's path rules, CDN failure counter, stale package removal
// and progress, on the shipped skin without a display.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

#include "Common/install_ui_mainwnd.h"
#include "Common/package_file_name.h"
#include "config/endpoints.h"
#include "fixtures/endpoints_xml.h"
#include "fixtures/fault_http_server.h"
#include "fixtures/scoped_env.h"
#include "fixtures/temp_dir.h"
#include "shipped_skin.h"
#include "platform/fake_system_facts.h"
#include "platform/registry_store.h"
#include "platform/utf8.h"
#include "telemetry/SingleUserLog.h"
#include "ui/message_loop.h"
#include "ui/package.h"
#include "ui/paint_manager.h"
#include "ui/progress.h"
#include "ui/resources.h"
#include "ui/ui_tasks.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Pumps the UI loop until `done` holds or ten seconds pass.
template <typename Predicate>
bool PumpUntil(Predicate done) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    ui::PumpPendingMessages();
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

TEST(PackageFileName, StemTagAndInstallerExtension) {
  struct Case {
    const wchar_t* url;
    const wchar_t* expected;
  };
  const Case cases[] = {
      // The stem ends at the last dot of the file name.
      {L"http://h/downloads/setup.beta.exe", L"setup.beta_1.2.exe"},
      {L"http://h/downloads/brisko.zip", L"brisko_1.2.apk"},
      {L"http://h/downloads/readme", L"readme_1.2.apk"},
      // Without a "/" the whole text is the stem.
      {L"setup.exe", L"setup.exe_1.2.exe"},
      // Up to three characters count as an installer.
      {L"abc", L"abc_1.2.exe"},
      {L"", L"_1.2.exe"},
      {L"http://h/SETUP.EXE", L"SETUP_1.2.apk"},
  };
  for (const Case& c : cases) EXPECT_EQ(PackageFileNameOfUrl(c.url, L"1.2"), c.expected) << c.url;
}

class MainWindowChecks : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::UseShippedSkin());
    platform::RegistryStore::SetRootForTesting(tmp_.wpath());
    server_.Handle("POST", "/g/collect", [](const httplib::Request&, httplib::Response& response) {
      response.status = 204;
    });
    server_.Handle("POST", "/collect", [](const httplib::Request&, httplib::Response& response) {
      response.set_content("{}", "application/json");
    });
    std::string error;
    ASSERT_TRUE(LoadEndpointsXml(test::EndpointsXmlAllAt(server_.url("")), &error)) << error;
    ASSERT_TRUE(window_.CreateHeadless());
    // The background query is answered 404 at once; done with it.
    window_.WaitForAllThreadExit();
  }
  void TearDown() override {
    window_.Close();
    ResetEndpoints();
    platform::RegistryStore::SetRootForTesting(L"");
    ui::SetResourcePackage(nullptr);
  }

  std::optional<std::wstring> Counter() {
    return platform::RegistryStore::ReadString(
        platform::RegistryHive::LocalMachine,
        L"SoftWare\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Brisko", L"RequestTooMuchTimes");
  }

  ui::Progress& Bar() { return *ui::As<ui::Progress>(Find(L"install_progress")); }
  ui::Control& Label() { return *Find(L"install_label"); }
  ui::Control* Find(const wchar_t* name) {
    ui::Control* control = window_.GetPaintManager().FindControl(name);
    EXPECT_TRUE(control) << name;
    return control;
  }

  // The GA4 requests seen so far whose query holds `text`.
  std::size_t EventsWith(const std::string& text) {
    std::size_t count = 0;
    for (const test::RecordedRequest& request : server_.requests()) {
      if (request.path == "/g/collect" && request.query.find(text) != std::string::npos) ++count;
    }
    return count;
  }

  test::TempDir tmp_;
  test::ScopedEnv tmpdir_{"TMPDIR", tmp_.str()};
  test::ScopedEnv home_{"HOME", tmp_.str()};
  platform::FakeSystemFacts facts_;
  platform::FakeSystemFacts::Installed installed_{facts_};
  test::FaultHttpServer server_;
  InstallUIMainWnd window_{L"CV_UI_Frame_checks"};
};

TEST_F(MainWindowChecks, PackageFileNameCarriesTheVersionOrTheStartTimeStamp) {
  EXPECT_EQ(window_.GetPackageFileName(true), L"brisko_setup_1.0.0.0.exe");
  const std::string stamped = platform::ToUtf8(window_.GetPackageFileName(false));
  ASSERT_TRUE(std::regex_match(stamped, std::regex(R"(brisko_setup_\d{17}\.exe)"))) << stamped;
  // The log file is named by the same stamp.
  EXPECT_EQ(fs::path(window_.logPath()).filename().string(),
            stamped.substr(0, stamped.size() - 4) + ".log");
}

TEST_F(MainWindowChecks, WorkDirectoryIsCreatedBelowTheTemporaryFolderAndMayExist) {
  test::TempDir other;
  test::ScopedEnv tmpdir("TMPDIR", other.str());
  const std::wstring expected = other.wpath() + L"/brisko_setup/";
  for (int call = 0; call < 2; ++call) {
    std::wstring directory;
    EXPECT_TRUE(window_.MakeWorkDirectory(directory)) << call;
    EXPECT_EQ(directory, expected);
    EXPECT_TRUE(fs::is_directory(other.path() / "brisko_setup"));
  }

  // A file in its place cannot become the folder.
  test::TempDir blocked;
  test::WriteFile(blocked.path() / "brisko_setup", "x");
  test::ScopedEnv blockedTmp("TMPDIR", blocked.str());
  std::wstring directory;
  EXPECT_FALSE(window_.MakeWorkDirectory(directory));
}

TEST_F(MainWindowChecks, CdnFailureCounterCountsToNineThenWraps) {
  EXPECT_FALSE(window_.isForbidCDN());  // missing
  struct Step {
    const wchar_t* before;  // nullptr: leave the stored value
    const wchar_t* after;
  };
  const Step steps[] = {
      {nullptr, L"1"},  // missing -> 1
      {nullptr, L"2"}, {L"8", L"9"}, {nullptr, L":"},
      {nullptr, L"1"},  // ':' reads as 0
      {L"0", L"1"},     {L"-4", L"1"}, {L"junk", L"1"},
      {L"250", L":"},   // a hand-edited number stays within one character
  };
  for (const Step& step : steps) {
    if (step.before) {
      ASSERT_TRUE(window_.WriteRequestTimes(step.before));
    }
    EXPECT_TRUE(window_.addRequestTimes()) << (step.before ? platform::ToUtf8(step.before) : "");
    EXPECT_EQ(Counter(), step.after);
  }

  struct Forbid {
    const wchar_t* stored;
    bool forbidden;
  };
  for (const Forbid& f : {Forbid{L"3", false}, Forbid{L"4", true}, Forbid{L"9", true},
                          Forbid{L":", false}, Forbid{L"12", true}, Forbid{L"x", false}}) {
    ASSERT_TRUE(window_.WriteRequestTimes(f.stored));
    std::wstring read;
    ASSERT_TRUE(window_.ReadRequestTimes(read));
    EXPECT_EQ(read, f.stored);
    EXPECT_EQ(window_.isForbidCDN(), f.forbidden) << platform::ToUtf8(f.stored);
  }
}

TEST_F(MainWindowChecks, CounterWriteFailureIsReported) {
  test::TempDir other;
  const fs::path notAFolder = other.path() / "file";
  test::WriteFile(notAFolder, "x");
  platform::RegistryStore::SetRootForTesting(platform::FromUtf8(notAFolder.string()));
  EXPECT_FALSE(window_.addRequestTimes());
  std::wstring read;
  EXPECT_FALSE(window_.ReadRequestTimes(read));
  EXPECT_FALSE(window_.isForbidCDN());
}

TEST_F(MainWindowChecks, ClearAppDataDeletesThePackageAndItsTaskFileOnly) {
  std::wstring directory;
  ASSERT_TRUE(window_.MakeWorkDirectory(directory));
  const fs::path folder(platform::ToUtf8(directory));
  for (const char* name : {"brisko_setup_1.0.0.0.exe", "brisko_setup_1.0.0.0.exe.xml", "keep.txt"}) {
    test::WriteFile(folder / name, "data");
  }
  window_.clearAppData();
  EXPECT_FALSE(fs::exists(folder / "brisko_setup_1.0.0.0.exe"));
  EXPECT_FALSE(fs::exists(folder / "brisko_setup_1.0.0.0.exe.xml"));
  EXPECT_TRUE(fs::exists(folder / "keep.txt"));
  window_.clearAppData();  // nothing left to delete
  EXPECT_TRUE(fs::exists(folder / "keep.txt"));
}

TEST_F(MainWindowChecks, ProgressNeverMovesBackwardsAndShowsThePercentage) {
  const std::wstring layoutText = Label().GetText();
  const std::size_t directive = layoutText.find(L"%0.f%%");
  ASSERT_NE(directive, std::wstring::npos);
  auto labelFor = [&](const std::wstring& shown) {
    return layoutText.substr(0, directive) + shown + layoutText.substr(directive + 6);
  };

  ASSERT_EQ(Bar().GetValue(), 0);
  window_.SetProgress(0);  // not above the bar: nothing changes
  EXPECT_EQ(Label().GetText(), layoutText);
  window_.SetProgress(10);
  EXPECT_EQ(Bar().GetValue(), 10);
  EXPECT_EQ(Label().GetText(), labelFor(L"10%"));
  for (int lower : {9, 10, -1}) {
    window_.SetProgress(lower);
    EXPECT_EQ(Bar().GetValue(), 10) << lower;
    EXPECT_EQ(Label().GetText(), labelFor(L"10%")) << lower;
  }
  // Later texts still come from the template, not from the shown text.
  window_.SetProgress(42);
  EXPECT_EQ(Label().GetText(), labelFor(L"42%"));

  // A reset bar (try again) takes lower values again; the label keeps its
  // text until then.
  Bar().SetValue(0);
  EXPECT_EQ(Label().GetText(), labelFor(L"42%"));
  window_.SetProgress(1);
  EXPECT_EQ(Label().GetText(), labelFor(L"1%"));
}

// The download thread only posts figures; the UI thread applies them in
// order, and only forwards.
TEST_F(MainWindowChecks, DownloadProgressFillsTheBandThroughTheUiThread) {
  window_.OnDownloadProgress(1, 2);
  EXPECT_EQ(Bar().GetValue(), 0) << "the calling thread changed the bar";
  ASSERT_TRUE(PumpUntil([&] { return Bar().GetValue() == 42; }));

  struct Report {
    std::int64_t downloaded;
    std::int64_t total;
    int bar;  // afterwards
  };
  constexpr std::int64_t kGiB = std::int64_t{1} << 30;
  const Report reports[] = {
      {-5, 100, 42}, {7, 0, 42}, {7, -1, 42},  // no band value above 0
      {1, 2, 42},
      {3 * kGiB, 4 * kGiB, 63},  // 63.75, truncated
      {99, 100, 84},
      {30, 100, 84},  // lower: ignored
      {100, 100, 85},
      {150, 100, 85},  // more than the total stays in the band
  };
  for (const Report& r : reports) {
    std::thread downloader([&] { window_.OnDownloadProgress(r.downloaded, r.total); });
    downloader.join();
    // A marker posted after the report has passed once the report has.
    bool marked = false;
    ui::PostUiTask([&] { marked = true; });
    ASSERT_TRUE(PumpUntil([&] { return marked; }));
    EXPECT_EQ(Bar().GetValue(), r.bar) << r.downloaded << "/" << r.total;
  }
}

TEST_F(MainWindowChecks, PackageSizeIsReportedOnceWithTheFirstKnownTotal) {
  window_.OnDownloadProgress(0, 0);  // no length yet
  window_.OnDownloadProgress(0, 10 * 1048576 + 4000);  // 10.0038
  window_.OnDownloadProgress(1, 20 * 1048576);
  // The sender keeps the queue's order: once this has arrived, so has
  // everything queued before it.
  CSingleUserLog::GetInstance().AddUserLog("Other", "ChecksMarker", "");
  const auto deadline = std::chrono::steady_clock::now() + 30s;
  while (EventsWith("ChecksMarker") == 0 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(10ms);
  }
  ASSERT_EQ(EventsWith("ChecksMarker"), 1u);
  // Only labels tell this window's events from late ones of earlier tests.
  EXPECT_EQ(EventsWith("10.00MB"), 1u);
  EXPECT_EQ(EventsWith("20.00MB"), 0u);
}

}  // namespace

namespace {

// The trial drivers publish their figures only when the tick moves.
class RunningTicks {
 public:
  explicit RunningTicks(platform::FakeSystemFacts& facts)
      : thread_([this, &facts] {
          while (!stop_) {
            std::this_thread::sleep_for(1ms);
            ++facts.tickCount;
          }
        }) {}
  ~RunningTicks() {
    stop_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool> stop_ = false;
  std::thread thread_;
};

std::vector<std::wstring> Urls(std::initializer_list<std::string> urls) {
  std::vector<std::wstring> wide;
  for (const std::string& url : urls) wide.push_back(platform::FromUtf8(url));
  return wide;
}

TEST_F(MainWindowChecks, SourceByKindTakesTheFirstOfThatKind) {
  const std::string cdn = "http://cdn.example.test/a/setup.exe";
  const std::string cdnToo = "http://files.example.test/setup-dl.exe";
  const std::string service = "http://files.example.test/setup.exe";
  struct Case {
    std::vector<std::wstring> urls;
    int mode;
    std::string expected;
  };
  const Case cases[] = {
      {Urls({cdn, service}), 1, service}, {Urls({cdn, cdnToo}), 1, ""},
      {Urls({service, cdnToo}), 2, cdnToo}, {Urls({service}), 2, ""},
      {{}, 1, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::ToUtf8(window_.checkRemotePath(c.urls, c.mode)), c.expected) << c.mode;
  }
}

TEST_F(MainWindowChecks, SpeedTestSkipsForbiddenCdnSourcesAndCleansUp) {
  server_.ServeFile("/cdn.files/setup.exe", std::string(8 << 20, 'c'));
  server_.ServeFile("/service/setup.exe", std::string(8 << 20, 's'));
  ASSERT_TRUE(window_.WriteRequestTimes(L"4"));
  RunningTicks ticks(facts_);
  const auto urls = Urls({server_.url("/cdn.files/setup.exe"), server_.url("/service/setup.exe")});
  EXPECT_EQ(window_.checkRemotePath(urls, 0), urls[1]);
  for (const test::RecordedRequest& request : server_.requests()) {
    EXPECT_NE(request.path, "/cdn.files/setup.exe") << "a forbidden CDN source was tried";
  }
  std::wstring directory;
  ASSERT_TRUE(window_.MakeWorkDirectory(directory));
  EXPECT_FALSE(fs::exists(directory + L"temp"));
  EXPECT_FALSE(fs::exists(directory + L"temp.xml"));
  EXPECT_TRUE(PumpUntil([&] { return Bar().GetValue() == 10; })) << Bar().GetValue();
}

TEST_F(MainWindowChecks, SpeedTestSkipsSourcesThatCannotStartAndKeepsTheEarlierOfEqualOnes) {
  server_.ServeFile("/cdn.first/setup.exe", std::string(2 << 20, 'a'));
  server_.ServeFile("/second/setup.exe", std::string(2 << 20, 'b'));
  ASSERT_TRUE(window_.WriteRequestTimes(L"3"));  // CDN sources are still allowed
  RunningTicks ticks(facts_);
  const auto urls = Urls({server_.url("/missing/setup.exe"), server_.url("/cdn.first/setup.exe"),
                          server_.url("/second/setup.exe")});
  // Both trials finish their 2 MiB well within four seconds: a tie.
  EXPECT_EQ(window_.checkRemotePath(urls, 0), urls[1]);
}

}  // namespace
