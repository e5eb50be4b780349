#include <gtest/gtest.h>

#include "fixtures/zip_bytes.h"
#include "tests/ui/test_support.h"
#include "ui/builder.h"
#include "ui/check_box.h"
#include "ui/combo.h"
#include "ui/option.h"
#include "ui/paint_manager.h"
#include "platform/utf8.h"

namespace {

using ui::As;

struct Recorder : ui::INotifyUI {
  void Notify(ui::Notify& msg) override {
    events.push_back(msg.type + ":" + (msg.sender ? platform::ToUtf8(msg.sender->GetName()) : ""));
    if (msg.type == "link") links.push_back(msg.link);
    if (msg.type == "itemselect") items.emplace_back(msg.wparam, msg.lparam);
  }
  std::vector<std::string> events;
  std::vector<std::wstring> links;
  std::vector<std::pair<std::uintptr_t, std::intptr_t>> items;
};

// 300x200, caption the top 40 pixels (with 10 px margins left and right).
constexpr const char* kLayout = R"(
<Window size="300,200" caption="10,0,10,40">
  <VerticalLayout>
    <HorizontalLayout height="40">
      <Button name="a" width="50"/>
      <Button name="off" width="50" enabled="false"/>
      <Text name="link" width="150" showhtml="true" text="{a go}LINKLINK{/a} plain text"/>
    </HorizontalLayout>
    <HorizontalLayout height="40">
      <Button name="b" width="50"/>
      <CheckBox name="check" width="50"/>
      <Option name="o1" group="g" width="50" selected="true"/>
      <Option name="o2" group="g" width="50"/>
      <Option name="solo" width="50"/>
    </HorizontalLayout>
    <Combo name="combo" height="20" width="100">
      <ListLabelElement text="zero"/>
      <ListLabelElement text="hidden" visible="false"/>
      <ListLabelElement text="two"/>
    </Combo>
    <Control/>
  </VerticalLayout>
</Window>)";

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pkg_ = ui::Package::FromMemory(test::MakeZip({{"x", "x"}}), nullptr);
    std::string error;
    auto root = ui::BuildFromString(*pkg_, kLayout, &manager_, &error);
    ASSERT_NE(root, nullptr) << error;
    manager_.AttachRoot(std::move(root));
    manager_.AddNotifier(&recorder_);
  }

  // Centre of a control.
  std::pair<int, int> At(const wchar_t* name) {
    const ui::Rect r = manager_.FindControl(name)->GetPos();
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  void Click(int x, int y) {
    manager_.OnMouseMove(x, y);
    manager_.OnMouseDown(x, y);
    manager_.OnMouseUp(x, y);
  }
  void Click(const wchar_t* name) {
    const auto [x, y] = At(name);
    Click(x, y);
  }

  std::shared_ptr<ui::Package> pkg_;
  ui::PaintManager manager_;
  Recorder recorder_;
};

TEST_F(InputTest, ClickOnlyWhenReleasedOverThePressedControl) {
  struct Step {
    enum Kind { kMove, kDown, kUp, kLeave } kind;
    const wchar_t* over;  // nullptr: an empty spot
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::string> events;
  };
  const Case cases[] = {
      {"press and release", {{Step::kDown, L"a"}, {Step::kUp, L"a"}}, {"click:a"}},
      {"released elsewhere", {{Step::kDown, L"a"}, {Step::kUp, L"b"}}, {}},
      {"out and back in",
       {{Step::kDown, L"a"}, {Step::kMove, nullptr}, {Step::kMove, L"a"}, {Step::kUp, L"a"}},
       {"click:a"}},
      {"pressed elsewhere", {{Step::kDown, nullptr}, {Step::kMove, L"a"}, {Step::kUp, L"a"}}, {}},
      {"left the window while pressed",
       {{Step::kDown, L"a"}, {Step::kLeave, nullptr}, {Step::kUp, L"b"}}, {}},
      {"disabled", {{Step::kDown, L"off"}, {Step::kUp, L"off"}}, {}},
      {"two clicks", {{Step::kDown, L"b"}, {Step::kUp, L"b"}, {Step::kDown, L"b"}, {Step::kUp, L"b"}},
       {"click:b", "click:b"}},
  };
  for (const Case& c : cases) {
    recorder_.events.clear();
    for (const Step& step : c.steps) {
      const auto [x, y] = step.over ? At(step.over) : std::pair<int, int>{290, 190};
      switch (step.kind) {
        case Step::kMove: manager_.OnMouseMove(x, y); break;
        case Step::kDown: manager_.OnMouseDown(x, y); break;
        case Step::kUp: manager_.OnMouseUp(x, y); break;
        case Step::kLeave: manager_.OnMouseLeave(); break;
      }
    }
    EXPECT_EQ(recorder_.events, c.events) << c.name;
  }
}

TEST_F(InputTest, HotAndPressedFollowTheMouse) {
  ui::Control* a = manager_.FindControl(L"a");
  const auto [x, y] = At(L"a");
  manager_.OnMouseMove(x, y);
  EXPECT_EQ(manager_.GetHotControl(), a);
  manager_.OnMouseDown(x, y);
  EXPECT_EQ(manager_.GetPressedControl(), a);
  const auto [bx, by] = At(L"b");
  manager_.OnMouseMove(bx, by);
  EXPECT_EQ(manager_.GetHotControl(), nullptr) << "only the pressed control lights up";
  manager_.OnMouseUp(bx, by);
  EXPECT_EQ(manager_.GetPressedControl(), nullptr);
  EXPECT_EQ(manager_.GetHotControl(), manager_.FindControl(L"b"));
  manager_.OnMouseLeave();
  EXPECT_EQ(manager_.GetHotControl(), nullptr);
  const auto [ox, oy] = At(L"off");
  manager_.OnMouseMove(ox, oy);
  EXPECT_EQ(manager_.GetHotControl(), nullptr) << "disabled controls do not light up";
}

TEST_F(InputTest, CheckBoxTogglesAndOptionsAreExclusive) {
  auto* check = As<ui::CheckBox>(manager_.FindControl(L"check"));
  Click(L"check");
  EXPECT_TRUE(check->GetCheck());
  EXPECT_EQ(recorder_.events, (std::vector<std::string>{"click:check", "selectchanged:check"}));
  Click(L"check");
  EXPECT_FALSE(check->GetCheck());

  auto* o1 = As<ui::Option>(manager_.FindControl(L"o1"));
  auto* o2 = As<ui::Option>(manager_.FindControl(L"o2"));
  recorder_.events.clear();
  Click(L"o2");
  EXPECT_TRUE(o2->IsSelected());
  EXPECT_FALSE(o1->IsSelected());
  EXPECT_EQ(recorder_.events,
            (std::vector<std::string>{"click:o2", "selectchanged:o1", "selectchanged:o2"}));
  recorder_.events.clear();
  Click(L"o2");
  EXPECT_TRUE(o2->IsSelected()) << "a grouped option stays selected";
  EXPECT_EQ(recorder_.events, (std::vector<std::string>{"click:o2"}));

  auto* solo = As<ui::Option>(manager_.FindControl(L"solo"));
  Click(L"solo");
  Click(L"solo");
  EXPECT_FALSE(solo->IsSelected()) << "an option without a group toggles";
  EXPECT_TRUE(o2->IsSelected());

  recorder_.events.clear();
  o1->Selected(true, false);
  EXPECT_FALSE(o2->IsSelected());
  EXPECT_TRUE(recorder_.events.empty()) << "notify=false is silent";
}

TEST_F(InputTest, CaptionAreaExcludesMarginsAndClickableControls) {
  struct Case {
    int x, y;
    bool caption;
  };
  const auto [ax, ay] = At(L"a");
  const auto [ox, oy] = At(L"off");
  const ui::Rect link = manager_.FindControl(L"link")->GetPos();
  const Case cases[] = {
      {ax, ay, false},                      // an enabled button
      {ox, oy, true},                       // a disabled one
      {link.left + 3, link.top + 20, false}, // a markup link
      {link.right - 3, link.top + 20, true}, // the text after it
      {5, 20, false},                       // left margin
      {295, 20, false},                     // right margin
      {150, 45, false},                     // below the caption
  };
  for (const Case& c : cases) {
    EXPECT_EQ(manager_.IsCaptionAt(c.x, c.y), c.caption) << c.x << "," << c.y;
  }
}

TEST_F(InputTest, LinkClickRaisesLink) {
  const ui::Rect link = manager_.FindControl(L"link")->GetPos();
  manager_.OnMouseMove(link.left + 3, link.top + 20);
  EXPECT_EQ(manager_.GetHotLink(), 0);
  Click(link.left + 3, link.top + 20);
  EXPECT_EQ(recorder_.events, (std::vector<std::string>{"link:link"}));
  EXPECT_EQ(recorder_.links, (std::vector<std::wstring>{L"go"}));
  recorder_.events.clear();
  Click(link.right - 3, link.top + 20);
  EXPECT_TRUE(recorder_.events.empty()) << "plain text is not clickable";
}

TEST_F(InputTest, ComboDropDownChoosesVisibleItems) {
  auto* combo = As<ui::Combo>(manager_.FindControl(L"combo"));
  EXPECT_EQ(combo->GetCurSel(), -1);
  Click(L"combo");
  const ui::ComboDropDown& drop_down = manager_.GetDropDown();
  ASSERT_TRUE(drop_down.IsOpen());
  ASSERT_EQ(drop_down.GetRows().size(), 2u) << "the hidden item is not listed";
  EXPECT_EQ(drop_down.GetRows()[1].item, 2);
  EXPECT_FALSE(manager_.IsCaptionAt(drop_down.GetRect().left + 1, drop_down.GetRect().top + 1));

  const ui::Rect row = drop_down.GetRows()[1].rect;
  manager_.OnMouseMove(row.left + 5, row.top + 5);
  EXPECT_EQ(drop_down.GetHotItem(), 2);
  Click(row.left + 5, row.top + 5);
  EXPECT_FALSE(drop_down.IsOpen());
  EXPECT_EQ(combo->GetCurSel(), 2);
  EXPECT_EQ(combo->GetText(), L"two");
  EXPECT_EQ(recorder_.items, (std::vector<std::pair<std::uintptr_t, std::intptr_t>>{{2, -1}}));

  // A press outside closes the list without clicking what is under it.
  Click(L"combo");
  ASSERT_TRUE(drop_down.IsOpen());
  recorder_.events.clear();
  Click(L"a");
  EXPECT_FALSE(drop_down.IsOpen());
  EXPECT_TRUE(recorder_.events.empty());

  EXPECT_FALSE(combo->SelectItem(7));
  EXPECT_TRUE(combo->SelectItem(0));
  EXPECT_EQ(recorder_.items.back(), (std::pair<std::uintptr_t, std::intptr_t>{0, 2}));
}

TEST_F(InputTest, NotifierRemovedDuringNotifyIsNotCalledAgain) {
  struct SelfRemoving : ui::INotifyUI {
    ui::PaintManager* manager = nullptr;
    int calls = 0;
    void Notify(ui::Notify&) override {
      ++calls;
      manager->RemoveNotifier(this);
    }
  } self_removing;
  self_removing.manager = &manager_;
  manager_.AddNotifier(&self_removing);
  Click(L"a");
  Click(L"a");
  EXPECT_EQ(self_removing.calls, 1);
  EXPECT_EQ(recorder_.events.size(), 2u);
}

}  // namespace
