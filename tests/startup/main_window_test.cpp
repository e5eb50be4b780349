// The main window built from the shipped skin, without a display.
#include "Common/install_ui_mainwnd.h"

#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdlib>
#include <set>
#include <regex>

#include "config/endpoints.h"
#include "fixtures/endpoints_xml.h"
#include "fixtures/fault_http_server.h"
#include "fixtures/log_capture.h"
#include "fixtures/scoped_env.h"
#include "fixtures/temp_dir.h"
#include "shipped_skin.h"
#include "platform/fake_system_facts.h"
#include "platform/registry_store.h"
#include "ui/check_box.h"
#include "ui/painter.h"
#include "ui/package.h"
#include "ui/paint_manager.h"
#include "ui/resources.h"
#include "ui/tab_layout.h"

namespace {

namespace fs = std::filesystem;

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::UseShippedSkin());
    facts_.uiLanguageId = 0x0409;
    platform::RegistryStore::SetRootForTesting(tmp_.wpath());
    // The update server answers the downloader query when a test gave an
    // answer; every other service of the stub is this server too.
    server_.Handle("GET", "/queryDownloader", [this](const httplib::Request&, httplib::Response& response) {
      if (answer_.empty()) {
        response.status = 404;
      } else {
        response.set_content(answer_, "text/xml");
      }
    });
    std::string error;
    ASSERT_TRUE(LoadEndpointsXml(test::EndpointsXmlAllAt(server_.url("")), &error)) << error;
  }
  void TearDown() override {
    ResetEndpoints();
    platform::RegistryStore::SetRootForTesting(L"");
    ui::SetResourcePackage(nullptr);
  }

  test::TempDir tmp_;
  // The main window makes its download folder and log below TMPDIR.
  test::ScopedEnv tmpdir_{"TMPDIR", tmp_.str()};
  platform::FakeSystemFacts facts_;
  platform::FakeSystemFacts::Installed installed_{facts_};
  test::FaultHttpServer server_;
  std::string answer_;
};

TEST_F(MainWindow, InitialisesOnTheSettingsPage) {
  test::LogCapture log;
  InstallUIMainWnd window(L"CV_UI_Frame_180");
  ASSERT_TRUE(window.CreateHeadless());
  ui::PaintManager& pm = window.GetPaintManager();

  auto* main = ui::As<ui::TabLayout>(pm.FindControl(L"main_tablayout"));
  ASSERT_TRUE(main);
  EXPECT_EQ(main->GetCurSel(), 0);
  for (const wchar_t* hidden : {L"text_fail_retry", L"text_fail_advice", L"img_warning"}) {
    ASSERT_TRUE(pm.FindControl(hidden)) << hidden;
    EXPECT_FALSE(pm.FindControl(hidden)->IsVisible()) << hidden;
  }
  // The layout ticks the box; the shipped ChooseLicense 0 unticks it.
  auto* licence = ui::As<ui::CheckBox>(pm.FindControl(L"license_checkbox"));
  ASSERT_TRUE(licence);
  EXPECT_FALSE(licence->GetCheck());

  // Only index 2 is offered by the packaged combo, whatever the UI language.
  EXPECT_EQ(window.languageIndex(), 2);
  const ui::Rect rect = window.GetWindowRect();
  EXPECT_EQ(rect.right - rect.left, 650);
  EXPECT_EQ(rect.bottom - rect.top, 360);

  ASSERT_TRUE(window.configure());
  EXPECT_EQ(window.configure()->Downloader_id, 180);
  EXPECT_EQ(window.configure()->loadState, 1);  // loaded without marking
  EXPECT_EQ(window.configure()->Software_name, L"Brisko");

  const fs::path downloadDir = tmp_.path() / "brisko_setup";
  EXPECT_TRUE(fs::is_directory(downloadDir));
  const fs::path logPath(window.logPath());
  EXPECT_EQ(logPath.parent_path(), downloadDir);
  EXPECT_TRUE(std::regex_match(logPath.filename().string(), std::regex(R"(brisko_setup_\d{17}\.log)")))
      << logPath;
  EXPECT_NE(test::ReadFile(logPath).find(
                " Request For Product Config -- [Downloader Id]: 180 [Site Id]: 93 [Language Id]: 1033"),
            std::string::npos);
  // The first run on this machine marks itself, so its system facts go out once.
  EXPECT_EQ(platform::RegistryStore::ReadString(platform::RegistryHive::LocalMachine,
                                                L"SOFTWARE\\Corvane\\Downloader2.5.0", L"GA_PC"),
            L"1");
  window.Close();
}

// The background query asks the update server as soon as the window is up
// and merges its answer into the configuration record.
TEST_F(MainWindow, TheBackgroundQueryMergesTheUpdateServersAnswer) {
  answer_ = "<?xml version=\"1.0\"?><Downloader><Md5>0123456789abcdef0123456789abcdef</Md5>"
            "<Downloader_config>2</Downloader_config></Downloader>";
  InstallUIMainWnd window(L"CV_UI_Frame_180");
  ASSERT_TRUE(window.CreateHeadless());
  window.WaitForAllThreadExit();
  const CConfigure& config = *window.configure();
  EXPECT_EQ(config.loadState, 2);
  EXPECT_EQ(config.loadSource, 1);
  EXPECT_EQ(config.Md5, L"0123456789abcdef0123456789abcdef");
  EXPECT_EQ(config.Software_name, L"Brisko");  // not in the answer: kept
  EXPECT_EQ(config.queryUrl, server_.url("/queryDownloader?LanguageId=1033&SoftWareID=180&SiteID=93"));

  bool asked = false;
  for (const test::RecordedRequest& request : server_.requests()) {
    if (request.path == "/queryDownloader") {
      asked = true;
      EXPECT_EQ(request.query, "LanguageId=1033&SoftWareID=180&SiteID=93");
    }
  }
  EXPECT_TRUE(asked);
  window.Close();
}

TEST_F(MainWindow, SettingsPageRendersOffscreen) {
  InstallUIMainWnd window(L"CV_UI_Frame_180");
  ASSERT_TRUE(window.CreateHeadless());
  const fs::path png = tmp_.path() / "page0.png";
  ASSERT_TRUE(ui::RenderToPng(window.GetPaintManager(), png.string()));
  ASSERT_TRUE(fs::exists(png));

  cairo_surface_t* image = cairo_image_surface_create_from_png(png.string().c_str());
  ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(cairo_image_surface_get_width(image), 650);
  EXPECT_EQ(cairo_image_surface_get_height(image), 360);
  const unsigned char* data = cairo_image_surface_get_data(image);
  const int stride = cairo_image_surface_get_stride(image);
  std::set<std::uint32_t> colours;
  for (int y = 0; y < 360; y += 3) {
    for (int x = 0; x < 650; x += 3) {
      colours.insert(*reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4));
    }
  }
  cairo_surface_destroy(image);
  EXPECT_GT(colours.size(), 50u) << "page 0 looks blank";
  window.Close();
}

}  // namespace
