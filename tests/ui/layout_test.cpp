#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "fixtures/zip_bytes.h"
#include "tests/ui/test_support.h"
#include "ui/box_layout.h"
#include "ui/builder.h"
#include "ui/paint_manager.h"
#include "platform/utf8.h"

namespace {

using ui::Rect;

struct LayoutCase {
  const char* name;
  const char* xml;  // laid out at 100x200
  std::vector<std::pair<const wchar_t*, Rect>> expected;
};

class LayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutTest, PlacesChildren) {
  const LayoutCase& c = GetParam();
  const auto pkg = ui::Package::FromMemory(test::MakeZip({{"x", "x"}}), nullptr);
  ui::PaintManager manager;
  std::string error;
  auto root = ui::BuildFromString(*pkg, c.xml, &manager, &error);
  ASSERT_NE(root, nullptr) << error;
  manager.AttachRoot(std::move(root));
  manager.SetClientSize(100, 200);
  for (const auto& [name, rect] : c.expected) {
    const ui::Control* control = manager.FindControl(name);
    ASSERT_NE(control, nullptr) << platform::ToUtf8(name);
    const Rect pos = control->GetPos();
    EXPECT_EQ(pos, rect) << platform::ToUtf8(name) << " is at " << pos.left << "," << pos.top
                         << "," << pos.right << "," << pos.bottom;
  }
}

const LayoutCase kCases[] = {
    {"vertical fixed and shared",
     R"(<VerticalLayout><Control name="a" height="50"/><Control name="b"/><Control name="c"/></VerticalLayout>)",
     {{L"a", {0, 0, 100, 50}}, {L"b", {0, 50, 100, 125}}, {L"c", {0, 125, 100, 200}}}},
    {"vertical remainder goes to the last shared child",
     R"(<VerticalLayout><Control name="a"/><Control name="b"/><Control name="c"/></VerticalLayout>)",
     {{L"a", {0, 0, 100, 66}}, {L"b", {0, 66, 100, 132}}, {L"c", {0, 132, 100, 200}}}},
    {"inset, childpadding and padding",
     R"(<VerticalLayout inset="10,5,10,5" childpadding="10">
          <Control name="a" height="40" padding="5,0,5,0"/><Control name="b"/>
        </VerticalLayout>)",
     {{L"a", {15, 5, 85, 45}}, {L"b", {10, 55, 90, 195}}}},
    {"fixed width is left-aligned",
     R"(<VerticalLayout><Control name="a" width="30" height="20" padding="4,0,0,0"/></VerticalLayout>)",
     {{L"a", {4, 0, 34, 20}}}},
    {"limits of shared sizes",
     R"(<VerticalLayout><Control name="a" maxheight="20"/><Control name="b"/><Control name="c" minheight="150"/></VerticalLayout>)",
     {{L"a", {0, 0, 100, 20}}, {L"b", {0, 20, 100, 50}}, {L"c", {0, 50, 100, 200}}}},
    {"hidden children take no space",
     R"(<VerticalLayout><Control name="a"/><Control name="h" visible="false" height="80"/><Control name="b"/></VerticalLayout>)",
     {{L"a", {0, 0, 100, 100}}, {L"b", {0, 100, 100, 200}}}},
    {"overfull fixed sizes leave shared children nothing",
     R"(<VerticalLayout><Control name="a" height="150"/><Control name="b" height="150"/><Control name="c"/></VerticalLayout>)",
     {{L"a", {0, 0, 100, 150}}, {L"b", {0, 150, 100, 300}}, {L"c", {0, 300, 100, 300}}}},
    {"horizontal fixed and shared",
     R"(<HorizontalLayout childpadding="4"><Control name="a" width="20"/><Control name="b"/><Control name="c" height="30"/></HorizontalLayout>)",
     {{L"a", {0, 0, 20, 200}}, {L"b", {24, 0, 60, 200}}, {L"c", {64, 0, 100, 30}}}},
    {"horizontal padding",
     R"(<HorizontalLayout inset="2,2,2,2"><Control name="a" padding="3,4,5,6"/></HorizontalLayout>)",
     {{L"a", {5, 6, 93, 192}}}},
    {"floating children take pos and leave the flow alone",
     R"(<VerticalLayout inset="10,10,10,10">
          <Control name="f" float="true" pos="5,6,55,26"/>
          <Control name="g" float="true" pos="70,80,0,0" width="10" height="12"/>
          <Control name="a"/>
        </VerticalLayout>)",
     {{L"f", {5, 6, 55, 26}}, {L"g", {70, 80, 80, 92}}, {L"a", {10, 10, 90, 190}}}},
    {"nested layouts",
     R"(<VerticalLayout><HorizontalLayout name="row" height="40"><Control name="l" width="30"/><Control name="r"/></HorizontalLayout></VerticalLayout>)",
     {{L"row", {0, 0, 100, 40}}, {L"l", {0, 0, 30, 40}}, {L"r", {30, 0, 100, 40}}}},
    {"tab pages get the whole area",
     R"(<TabLayout name="t" inset="1,1,1,1"><Control name="p0"/><Control name="p1"/></TabLayout>)",
     {{L"p0", {1, 1, 99, 199}}}},
    {"unknown container stacks children over its area",
     R"(<Fancy name="u"><Label name="inner" padding="2,2,2,2"/></Fancy>)",
     {{L"inner", {2, 2, 98, 198}}}},
};

INSTANTIATE_TEST_SUITE_P(Layouts, LayoutTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<LayoutCase>& info) {
                           std::string name = info.param.name;
                           for (char& ch : name) {
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           }
                           return name;
                         });

TEST(LayoutUpdateTest, ChangesLayOutAgain) {
  const auto pkg = ui::Package::FromMemory(test::MakeZip({{"x", "x"}}), nullptr);
  ui::PaintManager manager;
  std::vector<Rect> invalidated;
  manager.SetInvalidateCallback([&](Rect r) { invalidated.push_back(r); });
  manager.AttachRoot(ui::BuildFromString(
      *pkg, R"(<VerticalLayout><Control name="a"/><Control name="b"/></VerticalLayout>)",
      &manager, nullptr));
  manager.SetClientSize(100, 200);
  ui::Control* a = manager.FindControl(L"a");
  ui::Control* b = manager.FindControl(L"b");
  invalidated.clear();

  a->SetVisible(false);
  EXPECT_EQ(b->GetPos(), (Rect{0, 0, 100, 200}));
  EXPECT_FALSE(invalidated.empty());
  a->SetVisible(true);
  a->SetFixedHeight(20);
  EXPECT_EQ(b->GetPos(), (Rect{0, 20, 100, 200}));
  manager.SetClientSize(50, 100);
  EXPECT_EQ(b->GetPos(), (Rect{0, 20, 50, 100}));
}

TEST(LayoutScrollTest, WheelScrollsTheInnermostScrollingLayout) {
  const auto pkg = ui::Package::FromMemory(test::MakeZip({{"x", "x"}}), nullptr);
  ui::PaintManager manager;
  manager.AttachRoot(ui::BuildFromString(*pkg, R"(
      <VerticalLayout>
        <VerticalLayout name="pane" height="100" vscrollbar="true">
          <Control name="first" height="250"/>
          <Control name="last" height="50"/>
        </VerticalLayout>
        <VerticalLayout name="fits" vscrollbar="true"><Control name="small" height="10"/></VerticalLayout>
      </VerticalLayout>)", &manager, nullptr));
  manager.SetClientSize(100, 200);
  auto* pane = ui::As<ui::BoxLayout>(manager.FindControl(L"pane"));
  ASSERT_NE(pane, nullptr);
  EXPECT_EQ(pane->GetScrollRange(), 200);
  EXPECT_EQ(ui::As<ui::BoxLayout>(manager.FindControl(L"fits"))->GetScrollRange(), 0);

  manager.OnMouseWheel(50, 50, 1);
  EXPECT_EQ(pane->GetScrollPos(), 40);
  EXPECT_EQ(manager.FindControl(L"first")->GetPos(), (Rect{0, -40, 100, 210}));
  manager.OnMouseWheel(50, 150, 1);  // outside the pane
  EXPECT_EQ(pane->GetScrollPos(), 40);
  manager.OnMouseWheel(50, 50, 100);
  EXPECT_EQ(pane->GetScrollPos(), 200) << "clamped at the end";
  EXPECT_EQ(manager.FindControl(L"last")->GetPos(), (Rect{0, 50, 100, 100}));
  manager.OnMouseWheel(50, 50, -100);
  EXPECT_EQ(pane->GetScrollPos(), 0);

  pane->SetVisible(false);
  manager.OnMouseWheel(50, 50, 1);
  EXPECT_EQ(pane->GetScrollPos(), 0) << "hidden layouts do not scroll";
}

}  // namespace
