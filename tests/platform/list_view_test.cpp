#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Golden.h"
#include "WidgetTestHelpers.h"
#include "platform/ListView.h"

namespace tarvine {

// The kind of a change by name.
std::ostream& operator<<(std::ostream& out, ListChange what) {
  const char* names[] = {"rows", "cells", "columns", "selection", "sort"};
  return out << names[static_cast<int>(what)];
}

namespace {

// Every step on a list and what it raised, in tests/golden/platform/list-view.txt; the rows in
// list order after each step that moves them.
TEST(ListViewTest, EveryStepAndWhatItRaised) {
  Transcript t;
  ListView list{"lvwOrderIDs", "fraAll", Rect{120, 840, 8415, 4335}};
  t.watch("changed", list.listChanged);
  list.itemCheck.connect([&](RowId id) {
    t.out << "  itemCheck " << id << ", checked " << list.row(id).checked << '\n';
  });
  t.watch("itemClick", list.itemClick);
  list.dblClick.connect([&] { t.out << "  dblClick on " << *list.selected() << '\n'; });
  t.watch("columnClick", list.columnClick);
  int notices = 0;
  list.changed.connect([&] { ++notices; });
  const auto order = [&] {
    t.out << "  order";
    for (RowId id : list.order()) t.out << ' ' << list.row(id).text;
    t.out << '\n';
  };
  const auto rows = [&](std::initializer_list<const char*> texts) {
    for (const char* text : texts) list.addRow(text);
    order();
  };

  for (const char* caption : {"Order ID", "X"}) {
    t.step(std::string("column ") + caption, [&] {
      const int at = list.addColumn(caption, 300);
      t.out << "  at " << at << '\n';
    });
  }
  t.step("column X of width 0", [&] {
    list.setColumnWidth(2, 0);
    t.out << "  width " << list.columns()[1].width << '\n';
  });
  t.step("rows a b", [&] { rows({"a", "b"}); });
  for (int column : {0, 3})
    t.step("width of column " + std::to_string(column), [&] { list.setColumnWidth(column, 10); });
  for (int key : {-1, 0, 11}) {
    t.step("sub-item " + std::to_string(key) + " read", [&] { list.subItem(0, key); });
    t.step("sub-item " + std::to_string(key) + " set", [&] { list.setSubItem(0, key, "x"); });
  }
  t.step("sub-item 1 set twice", [&] {
    list.setSubItem(0, 1, "X");
    list.setSubItem(0, 1, "X");
  });
  for (std::size_t position : {0, 3})
    t.step("row at " + std::to_string(position), [&] { list.rowAt(position); });
  t.step("row 2 checked", [&] { list.setChecked(2, true); });
  t.step("position of row 2", [&] { list.positionOf(2); });
  t.step("row 2 selected", [&] { list.setSelected(RowId{2}); });
  t.step("sort key 11", [&] { list.setSortKey(11); });
  // Code checks a row silently; the user's toggle raises itemCheck after the state changed.
  t.step("row 0 checked", [&] { list.setChecked(0, true); });
  for (std::size_t position : {2, 2, 0, 3})
    t.step("user toggles " + std::to_string(position), [&] { list.userToggleCheck(position); });
  // Clicks select the row, then raise their event.
  t.step("user clicks 2, double-clicks 1, clicks column 1", [&] {
    list.userClick(2);
    list.userDoubleClick(1);
    list.userColumnClick(1);
  });
  t.step("user clicks 0, double-clicks 3, clicks column 3", [&] {
    list.userClick(0);
    list.userDoubleClick(3);
    list.userColumnClick(3);
  });
  t.step("disabled, user toggles 1", [&] {
    list.setEnabled(false);
    list.userToggleCheck(1);
  });
  t.out << "  row 0 checked " << list.row(0).checked << '\n';
  // Sorting folds letter case ('_' lies between the cases in ASCII) and keeps ties in order.
  t.step("cleared, sorted by the text", [&] {
    list.setSelected(RowId{1});
    list.setSortKey(0);
    list.setSorted(true);
    list.clear();
  });
  t.out << "  " << list.order().size() << " rows, selected " << list.selected().has_value()
        << ", sorted " << list.sorted() << '\n';
  t.step("rows b A a B c _ Z", [&] { rows({"b", "A", "a", "B", "c", "_", "Z"}); });
  t.step("unsorted", [&] {
    list.setSorted(false);
    order();
  });
  t.step("sorted", [&] {
    list.setSorted(true);
    order();
  });
  // An edited row stays where it was until the list is sorted again.
  t.step("row 0 becomes z", [&] {
    list.setText(0, "z");
    order();
  });
  t.step("row e", [&] { rows({"e"}); });
  t.step("sorted again", [&] {
    list.setSorted(true);
    order();
  });
  t.out << notices << " notices\n";
  test::expectGolden(t.out.str(), "platform/list-view.txt");
}

// A full load added while sorted by a sub-item: every row gets its twelve cells as the order fill
// sets them, and takes its sorted place.
TEST(ListViewTest, LargeSortedFillIsOrderedAndIndexed) {
  constexpr RowId kRows = 32767;
  ListView list{"lvwOrderIDs", "fraAll", Rect{120, 840, 8415, 4335}};
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
