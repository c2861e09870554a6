#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "WidgetTestHelpers.h"
#include "platform/ListView.h"
#include "platform/WidgetErrors.h"

namespace tarvine {
namespace {

class ListViewTest : public testing::Test {
 protected:
  ListViewTest() {
    list.listChanged.connect([this](ListChange what) { changes.push_back(what); });
    changed.watch(list.changed);
    list.itemCheck.connect([this](RowId id) { checkedEvents.push_back(id); });
  }

  // Adds rows with the given item texts; sub-item 2 holds the insertion index.
  void addRows(const std::vector<std::string>& texts) {
    for (const auto& text : texts) {
      const RowId id = list.addRow(text);
      list.setSubItem(id, 2, std::to_string(id));
    }
  }
  // Item texts in list order.
  std::vector<std::string> textsInOrder() const {
    std::vector<std::string> texts;
    for (RowId id : list.order()) texts.push_back(list.row(id).text);
    return texts;
  }

  ListView list{"lvwOrderIDs", "fraAll", Rect{120, 840, 8415, 4335}};
  std::vector<ListChange> changes;
  Counter changed;
  std::vector<RowId> checkedEvents;
};

TEST_F(ListViewTest, ColumnsSubItemsRowsAndPositionsAreChecked) {
  EXPECT_EQ(list.addColumn("Order ID", 1402.5f), 1);
  EXPECT_EQ(list.addColumn("X", 300), 2);
  list.setColumnWidth(2, 0);
  EXPECT_EQ(list.columns()[1].width, 0);
  addRows({"a", "b"});
  for (int column : {0, 3}) {
    EXPECT_EQ(errorNumberOf([&] { list.setColumnWidth(column, 10); }), kErrIndexOutOfBounds);
  }
  for (int key : {-1, 0, 11}) {
    EXPECT_EQ(errorNumberOf([&] { list.subItem(0, key); }), kErrIndexOutOfBounds);
    EXPECT_EQ(errorNumberOf([&] { list.setSubItem(0, key, "x"); }), kErrIndexOutOfBounds);
  }
  EXPECT_EQ(errorNumberOf([&] { list.rowAt(0); }), kErrIndexOutOfBounds);
  EXPECT_EQ(errorNumberOf([&] { list.rowAt(3); }), kErrIndexOutOfBounds);
  EXPECT_EQ(errorNumberOf([&] { list.setChecked(2, true); }), kErrIndexOutOfBounds);
  EXPECT_EQ(errorNumberOf([&] { list.positionOf(2); }), kErrIndexOutOfBounds);
  EXPECT_EQ(errorNumberOf([&] { list.setSelected(RowId{2}); }), kErrIndexOutOfBounds);
  EXPECT_EQ(errorNumberOf([&] { list.setSortKey(11); }), kErrInvalidPropertyValue);
}

// Code checks a row silently; the user's toggle raises ItemCheck after the state changed.
TEST_F(ListViewTest, OnlyTheUsersToggleRaisesItemCheck) {
  addRows({"a", "b"});
  list.setChecked(0, true);
  EXPECT_TRUE(checkedEvents.empty());
  std::vector<bool> stateSeen;
  list.itemCheck.connect([&](RowId id) { stateSeen.push_back(list.row(id).checked); });
  for (std::size_t position : {2, 2, 0, 3}) list.userToggleCheck(position);
  EXPECT_EQ(checkedEvents, (std::vector<RowId>{1, 1}));
  EXPECT_EQ(stateSeen, (std::vector<bool>{true, false}));
  list.setEnabled(false);
  list.userToggleCheck(1);
  EXPECT_TRUE(list.row(0).checked);
}

TEST_F(ListViewTest, ClicksSelectTheRowThenRaiseTheirEvent) {
  list.addColumn("Order ID", 100);
  addRows({"a", "b"});
  std::vector<std::string> events;
  list.itemClick.connect([&](RowId id) { events.push_back("item " + std::to_string(id)); });
  list.dblClick.connect([&] { events.push_back("dbl " + std::to_string(*list.selected())); });
  list.columnClick.connect([&](int column) { events.push_back("col " + std::to_string(column)); });
  list.userClick(2);
  list.userDoubleClick(1);
  list.userColumnClick(1);
  list.userClick(0);
  list.userDoubleClick(3);
  list.userColumnClick(2);
  EXPECT_EQ(events, (std::vector<std::string>{"item 1", "dbl 0", "col 1"}));
}

TEST_F(ListViewTest, ClearRemovesRowsAndSelectionButKeepsSorting) {
  addRows({"b", "a"});
  list.setSelected(RowId{1});
  list.setSortKey(0);
  list.setSorted(true);
  list.clear();
  EXPECT_TRUE(list.order().empty());
  EXPECT_FALSE(list.selected().has_value());
  EXPECT_TRUE(list.sorted());
  addRows({"d", "c"});
  EXPECT_EQ(textsInOrder(), (std::vector<std::string>{"c", "d"}));
}

TEST_F(ListViewTest, SortIsStableAndIgnoresLetterCase) {
  addRows({"b", "A", "a", "B", "c", "_", "Z"});
  list.setSorted(true);
  // '_' lies between the upper and lower case letters in ASCII; folded it sorts before "a".
  EXPECT_EQ(textsInOrder(), (std::vector<std::string>{"_", "A", "a", "b", "B", "c", "Z"}));
  list.setSorted(false);
  EXPECT_EQ(textsInOrder(), (std::vector<std::string>{"b", "A", "a", "B", "c", "_", "Z"}));
}

TEST_F(ListViewTest, EditingACellDoesNotMoveTheRow) {
  list.setSorted(true);
  addRows({"b", "d", "f"});
  ASSERT_EQ(textsInOrder(), (std::vector<std::string>{"b", "d", "f"}));
  list.setText(0, "z");
  EXPECT_EQ(textsInOrder(), (std::vector<std::string>{"z", "d", "f"}));
  // A new row is merged among the placed rows; the edited row stays where it was.
  addRows({"e"});
  EXPECT_EQ(textsInOrder(), (std::vector<std::string>{"z", "d", "e", "f"}));
  // Sorting again, as a column click does, puts the edited row in its place.
  list.setSorted(true);
  EXPECT_EQ(textsInOrder(), (std::vector<std::string>{"d", "e", "f", "z"}));
}

TEST_F(ListViewTest, EveryChangeNotifiesOnceWithItsKind) {
  list.addColumn("Order ID", 100);
  const RowId id = list.addRow("a");
  list.setSubItem(id, 1, "X");
  list.setSubItem(id, 1, "X");
  list.setChecked(id, true);
  list.setSelected(id);
  list.setSortKey(1);
  list.clear();
  EXPECT_EQ(changes,
            (std::vector<ListChange>{ListChange::Columns, ListChange::Rows, ListChange::Cells,
                                     ListChange::Cells, ListChange::Selection, ListChange::Sort,
                                     ListChange::Rows}));
  EXPECT_EQ(changed.count, static_cast<int>(changes.size()));
}

// A full load added while sorted by a sub-item: every row gets its twelve cells as the order fill
// sets them, and takes its sorted place.
TEST_F(ListViewTest, LargeSortedFillIsOrderedAndIndexed) {
  constexpr RowId kRows = 32767;
  list.setSortKey(6);
  list.setSorted(true);
  for (RowId i = 0; i < kRows; ++i) {
    const RowId id = list.addRow("PO" + std::to_string((i * 7919u) % 5000u));
    for (int k = 1; k <= 10; ++k) list.setSubItem(id, k, std::to_string(i % (k * 97)));
    list.setTag(id, (i % 2 ? "Checked;" : "UnChecked;") + std::to_string(i));
    list.setChecked(id, i % 2 == 1);
  }
  ASSERT_EQ(list.order().size(), kRows);
  // Sub-item 6 holds digits only, so letter case plays no part; ties keep their insertion order.
  for (std::size_t position = 1; position <= kRows; ++position) {
    const RowId id = list.rowAt(position);
    ASSERT_EQ(list.positionOf(id), position);
    if (position == 1) continue;
    const RowId previous = list.rowAt(position - 1);
    ASSERT_LE(std::make_pair(list.subItem(previous, 6), previous),
              std::make_pair(list.subItem(id, 6), id));
  }
  list.setSortKey(0);
  const auto& order = list.order();
  EXPECT_TRUE(std::is_sorted(order.begin(), order.end(), [&](RowId a, RowId b) {
    return list.row(a).text < list.row(b).text;
  }));
}

}  // namespace
}  // namespace tarvine
