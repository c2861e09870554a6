#include <gtest/gtest.h>

#include "WidgetTestHelpers.h"
#include "platform/Screen.h"
#include "platform/Widget.h"
#include "platform/WidgetErrors.h"

namespace tarvine {
namespace {

TEST(WidgetTest, CaptionTextAndEnabledRaiseChangedOnlyOnChange) {
  Label label("lblRoute", "fraAll", Rect{1710, 420, 3390, 255});
  TextBox box("txtPO", "", Rect{});
  Counter changed;
  changed.watch(label.changed);
  changed.watch(box.changed);
  for (const char* caption : {"R12", "R12"}) label.setCaption(caption);
  for (bool enabled : {true, false, false}) label.setEnabled(enabled);
  for (const char* text : {"123", "123", ""}) box.setText(text);
  EXPECT_EQ(changed.count, 4);
  EXPECT_EQ(label.caption(), "R12");
  EXPECT_FALSE(label.enabled());
}

TEST(WidgetTest, DisabledButtonIgnoresClicks) {
  CommandButton button("cmdSave", "", Rect{});
  Counter clicks;
  clicks.watch(button.click);
  button.userClick();
  button.setEnabled(false);
  button.userClick();
  EXPECT_EQ(clicks.count, 1);
}

TEST(CheckBoxTest, UserClickTogglesAndRaisesClickWithTheNewValue) {
  for (const auto& [before, after] : {std::pair{0, 1}, {1, 0}, {2, 1}}) {
    CheckBox box("chkSellectAll", "fraAll", Rect{});
    box.setValue(before);
    std::vector<int> seenInClick;
    box.click.connect([&] { seenInClick.push_back(box.value()); });
    box.userClick();
    EXPECT_EQ(seenInClick, std::vector<int>{after}) << before;
  }
}

TEST(CheckBoxTest, CodeChangeRaisesChangedThenClickAndIgnoresTheDisabledState) {
  CheckBox box("chkSellectAll", "fraAll", Rect{});
  std::vector<std::string> events;
  box.changed.connect([&] { events.push_back("changed"); });
  box.click.connect([&] { events.push_back("click"); });
  box.setEnabled(false);
  events.clear();
  box.userClick();
  box.setValue(1);
  box.setValue(1);
  EXPECT_EQ(events, (std::vector<std::string>{"changed", "click"}));
  for (int invalid : {-1, 3}) {
    EXPECT_EQ(errorNumberOf([&] { box.setValue(invalid); }), kErrInvalidPropertyValue);
  }
  EXPECT_EQ(box.value(), 1);
}

class ComboBoxTest : public testing::Test {
 protected:
  ComboBoxTest() {
    clicks.watch(box.click);
    box.addItem("For ALL centers on the route");
    box.addItem("Center 7");
  }
  ComboBox box{"cboCenter", "fraAll", Rect{5280, 360, 3240, 315}};
  Counter clicks;
};

TEST_F(ComboBoxTest, ItemDataAndIndexesAreChecked) {
  EXPECT_EQ(box.addItem("Center 9"), 2);
  EXPECT_EQ(box.itemData(1), 0);
  box.setItemData(1, 7);
  EXPECT_EQ(box.itemData(1), 7);
  EXPECT_EQ(box.listIndex(), -1);
  for (int index : {-2, 3}) {
    EXPECT_EQ(errorNumberOf([&] { box.setItemData(index, 5); }), kErrInvalidPropertyArrayIndex);
    EXPECT_EQ(errorNumberOf([&] { box.itemData(index); }), kErrInvalidPropertyArrayIndex);
    EXPECT_EQ(errorNumberOf([&] { box.setListIndex(index); }), kErrInvalidPropertyValue);
  }
  EXPECT_EQ(clicks.count, 0);
}

// Code raises Click only on a change; the user raises it on every valid choice while enabled.
TEST_F(ComboBoxTest, ClickFollowsCodeChangesAndEveryUserChoice) {
  for (int index : {1, 1, -1}) box.setListIndex(index);
  EXPECT_EQ(clicks.count, 2);
  int seenIndex = -2;
  box.click.connect([&] { seenIndex = box.listIndex(); });
  for (int index : {1, 1, 2, -1}) box.userSelect(index);
  box.setEnabled(false);
  box.userSelect(0);
  EXPECT_EQ(seenIndex, 1);
  EXPECT_EQ(clicks.count, 4);
  Counter changed;
  changed.watch(box.changed);
  box.clear();
  EXPECT_EQ(box.count(), 0);
  EXPECT_EQ(box.listIndex(), -1);
  EXPECT_EQ(clicks.count, 4);
  EXPECT_GT(changed.count, 0);
}

TEST(ScreenTest, FindsWidgetsAndRaisesFocusChangedOnChange) {
  Screen screen("Astray P.O's", 4800, 3600);
  auto& text = screen.add<TextBox>("txtPO", "", Rect{});
  screen.add<CommandButton>("cmdOK", "", Rect{});
  EXPECT_EQ(screen.find("txtPO"), &text);
  EXPECT_EQ(screen.find("cmdNone"), nullptr);
  Counter focus;
  focus.watch(screen.focusChanged);
  screen.setFocus(text);
  screen.setFocusName("txtPO");
  screen.setFocusName("cmdOK");
  EXPECT_EQ(focus.count, 2);
  EXPECT_EQ(screen.focus(), "cmdOK");
}

}  // namespace
}  // namespace tarvine
