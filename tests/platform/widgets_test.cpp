#include <gtest/gtest.h>

#include "WidgetTestHelpers.h"
#include "platform/Screen.h"
#include "platform/Widget.h"
#include "platform/WidgetErrors.h"

namespace tarvine {
namespace {

TEST(WidgetTest, CaptionAndEnabledRaiseChangedOnlyOnChange) {
  Label label("lblRoute", "fraAll", Rect{1710, 420, 3390, 255});
  Counter changed;
  changed.watch(label.changed);
  label.setCaption("R12");
  label.setCaption("R12");
  label.setEnabled(true);
  label.setEnabled(false);
  label.setEnabled(false);
  EXPECT_EQ(changed.count, 2);
  EXPECT_EQ(label.caption(), "R12");
  EXPECT_FALSE(label.enabled());
}

TEST(WidgetTest, TextBoxRaisesChangedOnChange) {
  TextBox box("txtPO", "", Rect{});
  Counter changed;
  changed.watch(box.changed);
  box.setText("123");
  box.setText("123");
  box.setText("");
  EXPECT_EQ(changed.count, 2);
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

struct CheckBoxClickCase {
  int before;
  int after;
};

class CheckBoxUserClickTest : public testing::TestWithParam<CheckBoxClickCase> {};

TEST_P(CheckBoxUserClickTest, TogglesAndRaisesClickWithTheNewValue) {
  CheckBox box("chkSellectAll", "fraAll", Rect{});
  box.setValue(GetParam().before);
  std::vector<int> seenInClick;
  box.click.connect([&] { seenInClick.push_back(box.value()); });
  box.userClick();
  EXPECT_EQ(box.value(), GetParam().after);
  EXPECT_EQ(seenInClick, std::vector<int>{GetParam().after});
}

INSTANTIATE_TEST_SUITE_P(Values, CheckBoxUserClickTest,
                         testing::Values(CheckBoxClickCase{0, 1}, CheckBoxClickCase{1, 0},
                                         CheckBoxClickCase{2, 1}));

TEST(CheckBoxTest, CodeChangeRaisesChangedThenClickOnlyWhenValueChanges) {
  CheckBox box("chkSellectAll", "fraAll", Rect{});
  std::vector<std::string> events;
  box.changed.connect([&] { events.push_back("changed"); });
  box.click.connect([&] { events.push_back("click"); });
  box.setValue(1);
  box.setValue(1);
  EXPECT_EQ(events, (std::vector<std::string>{"changed", "click"}));
}

TEST(CheckBoxTest, DisabledBoxIgnoresUserButNotCode) {
  CheckBox box("chkSellectAll", "fraAll", Rect{});
  Counter clicks;
  clicks.watch(box.click);
  box.setEnabled(false);
  box.userClick();
  EXPECT_EQ(box.value(), 0);
  box.setValue(1);
  EXPECT_EQ(box.value(), 1);
  EXPECT_EQ(clicks.count, 1);
}

class CheckBoxInvalidValueTest : public testing::TestWithParam<int> {};

TEST_P(CheckBoxInvalidValueTest, IsRefusedWithError380) {
  CheckBox box("chkSellectAll", "fraAll", Rect{});
  box.setValue(1);
  EXPECT_EQ(errorNumberOf([&] { box.setValue(GetParam()); }), kErrInvalidPropertyValue);
  EXPECT_EQ(box.value(), 1);
}

INSTANTIATE_TEST_SUITE_P(Values, CheckBoxInvalidValueTest, testing::Values(-1, 3, 64));

class ComboBoxTest : public testing::Test {
 protected:
  ComboBoxTest() {
    clicks.watch(box.click);
    changed.watch(box.changed);
  }
  ComboBox box{"cboCenter", "fraAll", Rect{5280, 360, 3240, 315}};
  Counter clicks;
  Counter changed;
};

TEST_F(ComboBoxTest, AddItemReturnsNewIndexWithItemDataZero) {
  EXPECT_EQ(box.addItem("For ALL centers on the route"), 0);
  EXPECT_EQ(box.addItem("Center 7"), 1);
  EXPECT_EQ(box.itemData(1), 0);
  box.setItemData(1, 7);
  EXPECT_EQ(box.itemData(1), 7);
  EXPECT_EQ(box.entries()[1].text, "Center 7");
  EXPECT_EQ(box.listIndex(), -1);
  EXPECT_EQ(clicks.count, 0);
}

TEST_F(ComboBoxTest, ItemDataOutOfRangeRaises381) {
  box.addItem("a");
  for (int index : {-1, 1}) {
    EXPECT_EQ(errorNumberOf([&] { box.setItemData(index, 5); }), kErrInvalidPropertyArrayIndex);
    EXPECT_EQ(errorNumberOf([&] { box.itemData(index); }), kErrInvalidPropertyArrayIndex);
  }
}

TEST_F(ComboBoxTest, CodeSelectionRaisesClickOnlyOnChange) {
  box.addItem("a");
  box.addItem("b");
  box.setListIndex(1);
  box.setListIndex(1);
  box.setListIndex(-1);
  EXPECT_EQ(clicks.count, 2);
  EXPECT_EQ(box.listIndex(), -1);
  for (int index : {-2, 2}) {
    EXPECT_EQ(errorNumberOf([&] { box.setListIndex(index); }), kErrInvalidPropertyValue);
  }
  EXPECT_EQ(box.listIndex(), -1);
}

TEST_F(ComboBoxTest, UserSelectAlwaysRaisesClickForValidIndexes) {
  box.addItem("a");
  box.addItem("b");
  int seenIndex = -2;
  box.click.connect([&] { seenIndex = box.listIndex(); });
  box.userSelect(1);
  box.userSelect(1);
  EXPECT_EQ(seenIndex, 1);
  box.userSelect(2);
  box.userSelect(-1);
  box.setEnabled(false);
  box.userSelect(0);
  EXPECT_EQ(box.listIndex(), 1);
  EXPECT_EQ(clicks.count, 2);
}

TEST_F(ComboBoxTest, ClearEmptiesWithoutClick) {
  box.addItem("a");
  box.setListIndex(0);
  const int clicksBefore = clicks.count;
  const int changedBefore = changed.count;
  box.clear();
  EXPECT_EQ(box.count(), 0);
  EXPECT_EQ(box.listIndex(), -1);
  EXPECT_EQ(clicks.count, clicksBefore);
  EXPECT_GT(changed.count, changedBefore);
}

TEST(ScreenTest, FindsWidgetsAndRaisesFocusChangedOnChange) {
  Screen screen("Astray P.O's", 4800, 3600);
  auto& text = screen.add<TextBox>("txtPO", "", Rect{});
  screen.add<CommandButton>("cmdOK", "", Rect{});
  EXPECT_EQ(screen.find("txtPO"), &text);
  EXPECT_EQ(screen.find("cmdNone"), nullptr);
  ASSERT_EQ(screen.widgets().size(), 2u);
  EXPECT_EQ(screen.widgets()[1]->name(), "cmdOK");

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
