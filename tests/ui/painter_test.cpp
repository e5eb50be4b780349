#include <cairo.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "fixtures/zip_bytes.h"
#include "tests/ui/test_support.h"
#include "ui/builder.h"
#include "ui/image_cache.h"
#include "ui/paint_manager.h"
#include "ui/painter.h"
#include "ui/progress.h"

namespace {

using ui_test::Pixel;

// Owns a rendered surface and reads its pixels.
class Image {
 public:
  explicit Image(ui::PaintManager& manager) : surface_(ui::RenderToSurface(manager)) {}
  ~Image() {
    if (surface_) cairo_surface_destroy(surface_);
  }
  bool valid() const { return surface_ != nullptr; }
  int width() const { return cairo_image_surface_get_width(surface_); }
  int height() const { return cairo_image_surface_get_height(surface_); }
  Pixel At(int x, int y) const {
    const unsigned char* row =
        cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
    const auto argb = *reinterpret_cast<const std::uint32_t*>(row + 4 * x);
    return Pixel{argb >> 24, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF};
  }
  // Pixels within `r` that differ from `background`.
  int CountDifferent(const ui::Rect& r, Pixel background) const {
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) count += At(x, y) == background ? 0 : 1;
    }
    return count;
  }

 private:
  cairo_surface_t* surface_;
};

constexpr Pixel kRed{255, 255, 0, 0};
constexpr Pixel kGreen{255, 0, 255, 0};
constexpr Pixel kBlue{255, 0, 0, 255};
constexpr Pixel kGrey{255, 128, 128, 128};
constexpr Pixel kWhite{255, 255, 255, 255};

class PainterTest : public ::testing::Test {
 protected:
  void Load(const std::string& xml) {
    ui_test::Entries entries;
    entries["strip.png"] = ui_test::MakeStripPng({0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF808080}, 10, 10);
    entries["selected.png"] = ui_test::MakeStripPng({0xFF808080, 0xFF0000FF, 0xFF00FF00, 0xFFFF0000}, 10, 10);
    entries["broken.png"] = "not an image";
    manager_.SetPackage(ui::Package::FromMemory(test::MakeZip(entries), nullptr));
    std::string error;
    auto root = ui::BuildFromString(*manager_.GetPackage(), xml, &manager_, &error);
    ASSERT_NE(root, nullptr) << error;
    manager_.AttachRoot(std::move(root));
  }

  ui::PaintManager manager_;
};

TEST_F(PainterTest, TestSkinRendersSomethingBesidesTheBackground) {
  manager_.SetPackage(ui_test::TestSkin());
  std::string error;
  auto root = ui::Build(*manager_.GetPackage(), "skin/main.xml", &manager_, &error);
  ASSERT_NE(root, nullptr) << error;
  manager_.AttachRoot(std::move(root));
  const Image image(manager_);
  ASSERT_TRUE(image.valid());
  EXPECT_EQ(image.width(), 400);
  EXPECT_EQ(image.height(), 300);
  EXPECT_EQ(image.At(200, 153), kWhite) << "the root's background";
  EXPECT_EQ(image.At(150, 5), (Pixel{255, 0x20, 0x30, 0x40})) << "the caption's bkimage";
  // Text, combo, options and edit on the welcome page draw over the white.
  EXPECT_GT(image.CountDifferent(ui::Rect{0, 40, 400, 260}, kWhite), 500);
  const ui::Rect close = manager_.FindControl(L"close_btn")->GetPos();
  EXPECT_EQ(image.At((close.left + close.right) / 2, (close.top + close.bottom) / 2), kRed);

  const std::string png = (std::filesystem::temp_directory_path() / "ui_painter_test.png").string();
  ASSERT_TRUE(ui::RenderToPng(manager_, png));
  EXPECT_GT(std::filesystem::file_size(png), 1000u);
  std::filesystem::remove(png);
}

TEST_F(PainterTest, ButtonStatePicksItsQuarterOfTheStrip) {
  Load(R"(<VerticalLayout bkcolor="#FFFFFFFF">
            <Button name="b" width="40" height="40" stateimage="strip.png"/>
            <Option name="o" width="40" height="40" stateimage="strip.png" selectedstateimage="selected.png"/>
          </VerticalLayout>)");
  manager_.SetClientSize(100, 100);
  ui::Control* b = manager_.FindControl(L"b");
  const auto centre = [&] { return Image(manager_).At(20, 20); };
  EXPECT_EQ(centre(), kRed) << "normal";
  manager_.OnMouseMove(20, 20);
  EXPECT_EQ(centre(), kGreen) << "hot";
  manager_.OnMouseDown(20, 20);
  EXPECT_EQ(centre(), kBlue) << "pushed";
  manager_.OnMouseMove(90, 90);
  EXPECT_EQ(centre(), kRed) << "pressed but the mouse is away";
  manager_.OnMouseUp(90, 90);
  b->SetEnabled(false);
  EXPECT_EQ(centre(), kGrey) << "disabled";

  // No bleeding from the neighbouring state at the scaled edges.
  const Image image(manager_);
  EXPECT_EQ(image.At(0, 20), kGrey);
  EXPECT_EQ(image.At(39, 20), kGrey);

  EXPECT_EQ(image.At(20, 60), kRed) << "unselected option";
  manager_.OnMouseMove(20, 60);
  manager_.OnMouseDown(20, 60);
  manager_.OnMouseUp(20, 60);
  EXPECT_EQ(Image(manager_).At(20, 60), kBlue) << "selected and hot: second quarter of its strip";
}

TEST_F(PainterTest, ProgressFillsInProportion) {
  Load(R"(<VerticalLayout bkcolor="#FFFFFFFF">
            <Progress name="p" height="10" min="0" max="200" value="50" forecolor="#FF0000FF"/>
          </VerticalLayout>)");
  manager_.SetClientSize(100, 20);
  Image quarter(manager_);
  EXPECT_EQ(quarter.At(10, 5), kBlue);
  EXPECT_EQ(quarter.At(24, 5), kBlue);
  EXPECT_EQ(quarter.At(26, 5), kWhite);
  auto* p = ui::As<ui::Progress>(manager_.FindControl(L"p"));
  p->SetValue(1000);
  EXPECT_EQ(p->GetValue(), 200);
  EXPECT_EQ(Image(manager_).At(99, 5), kBlue);
}

TEST_F(PainterTest, TextAndMissingImages) {
  Load(R"(<VerticalLayout bkcolor="#FFFFFFFF">
            <Label name="t" height="30" text="Hello World" textcolor="#FF000000"/>
            <Control height="30" bkimage="missing.png"/>
            <Control height="30" bkimage="broken.png"/>
            <Label height="30" text="" bkcolor="#FF00FF00" borderround="10,10"/>
          </VerticalLayout>)");
  manager_.SetClientSize(120, 120);
  const Image image(manager_);
  EXPECT_GT(image.CountDifferent(ui::Rect{0, 0, 120, 30}, kWhite), 30) << "glyphs";
  EXPECT_EQ(image.CountDifferent(ui::Rect{0, 30, 120, 90}, kWhite), 0) << "images that do not load draw nothing";
  EXPECT_EQ(image.At(60, 105), kGreen);
  EXPECT_EQ(image.At(0, 90), kWhite) << "rounded corner";
}

TEST(ImageCacheTest, DecodesImagesAndRefusesGarbageAndGiants) {
  cairo_surface_t* ok = ui::ImageCache::Decode(ui_test::MakeStripPng({0xFF00FF00}, 3, 2));
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(cairo_image_surface_get_width(ok), 3);
  cairo_surface_destroy(ok);
  EXPECT_EQ(ui::ImageCache::Decode(""), nullptr);
  EXPECT_EQ(ui::ImageCache::Decode("GIF89a garbage"), nullptr);
  EXPECT_EQ(ui::ImageCache::Decode(ui_test::MakeStripPng({0xFF000000}, ui::ImageCache::kMaxDimension + 1, 1)),
            nullptr);

  ui::ImageCache cache;
  int loads = 0;
  const auto load = [&]() -> std::optional<std::string> {
    ++loads;
    return std::nullopt;
  };
  EXPECT_EQ(cache.Get("a", load), nullptr);
  EXPECT_EQ(cache.Get("a", load), nullptr);
  EXPECT_EQ(loads, 1) << "a missing image is looked up once";
}

}  // namespace
