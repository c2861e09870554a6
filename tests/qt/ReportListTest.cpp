// The list's model and view over a headless list view: large fills, gathered changes, rows that
// are gone before a refresh, sorting and the selection (colours: PickWindowTest).

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QSignalSpy>

#include "Layout.h"
#include "QtTestSupport.h"
#include "ReportListView.h"

namespace tarvine::qt::test {
namespace {

constexpr int kLargestLoad = 32767;

class ReportListTest : public ::testing::Test {
 protected:
  ReportListTest() {
    list.addColumn("Order ID", 1400);
    list.addColumn("X", 300);
    list.addColumn("Segment", 885, Alignment::Center);
    list.addColumn("Hidden", 0);
    list.addColumn("Weight", 1150, Alignment::Right);
    view.resize(600, 300);
    view.show();
    drainEvents();
  }
  // Adds rows "P-<n>" whose segment text counts down, so sorting by it reverses them.
  void fill(int rows) {
    for (int i = 0; i < rows; ++i) {
      const RowId id = list.addRow("P-" + std::to_string(i));
      list.setSubItem(id, 2, std::to_string(rows - i));
      list.setSubItem(id, 4, std::to_string(i * 10));
    }
  }
  QString shown(int row, int column) const {
    return model().data(model().index(row, column), Qt::DisplayRole).toString();
  }
  const ReportListModel& model() const { return view.listModel(); }

  ListView list{"lvwOrderIDs", "", Rect{0, 0, 8415, 4335}};
  ReportListView view{list, UserActionRunner({})};
};

TEST_F(ReportListTest, ALargestLoadIsShownWithOneResetAndItsCheckChangesWithOneUpdate) {
  QSignalSpy resets(&model(), &QAbstractItemModel::modelReset);
  fill(kLargestLoad);
  drainEvents();
  EXPECT_EQ(resets.count(), 1);
  ASSERT_EQ(model().rowCount(), kLargestLoad);
  EXPECT_EQ(shown(kLargestLoad - 1, 4), QString::number((kLargestLoad - 1) * 10));
  view.scrollToBottom();
  EXPECT_FALSE(view.grab().isNull());

  QSignalSpy updates(&model(), &QAbstractItemModel::dataChanged);
  for (RowId id : list.order()) list.setChecked(id, true);
  drainEvents();
  EXPECT_EQ(updates.count(), 1);
  EXPECT_EQ(resets.count(), 1);
  EXPECT_EQ(model().data(model().index(kLargestLoad - 1, 0), Qt::CheckStateRole).toInt(),
            Qt::Checked);
}

TEST_F(ReportListTest, RowsGoneBeforeTheRefreshReadAsEmpty) {
  fill(20);
  drainEvents();
  list.clear();
  // The view still has 20 rows until the refresh; asking for them must not read freed rows.
  EXPECT_EQ(model().rowCount(), 20);
  EXPECT_FALSE(model().data(model().index(5, 0), Qt::DisplayRole).isValid());
  EXPECT_FALSE(model().data(model().index(5, 0), Qt::CheckStateRole).isValid());
  drainEvents();
  EXPECT_EQ(model().rowCount(), 0);
}

TEST_F(ReportListTest, ColumnsTakeTheirWidthsAlignmentAndHiddenState) {
  drainEvents();
  EXPECT_EQ(view.columnWidth(0), twipsToPixels(1400, view.logicalDpiX()));
  EXPECT_EQ(view.columnWidth(1), 20);
  EXPECT_TRUE(view.isColumnHidden(3));
  EXPECT_FALSE(view.isColumnHidden(4));
  EXPECT_EQ(model().headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "Segment");
  fill(1);
  drainEvents();
  EXPECT_EQ(model().data(model().index(0, 2), Qt::TextAlignmentRole).value<Qt::Alignment>(),
            Qt::AlignHCenter | Qt::AlignVCenter);
  EXPECT_EQ(model().data(model().index(0, 4), Qt::TextAlignmentRole).value<Qt::Alignment>(),
            Qt::AlignRight | Qt::AlignVCenter);
  list.setColumnWidth(2, 600);  // 1-based: the "X" column
  list.setEnabled(false);
  drainEvents();
  EXPECT_EQ(view.columnWidth(1), 40);
  EXPECT_FALSE(view.isEnabled());
}

// A sorted list is shown in its order with the key in the header; the selection follows it.
TEST_F(ReportListTest, ASortedListIsShownInItsOrderAndTheSelectionFollows) {
  fill(5);
  list.setSelected(list.rowAt(2));
  drainEvents();
  EXPECT_EQ(view.currentPosition(), 2u);
  list.setSortKey(2);
  list.setSorted(true);
  drainEvents();
  for (int row = 0; row < 5; ++row) {
    EXPECT_EQ(shown(row, 2), QString::number(row + 1));
    EXPECT_EQ(shown(row, 0), QString("P-%1").arg(4 - row));
  }
  EXPECT_TRUE(view.header()->isSortIndicatorShown());
  EXPECT_EQ(view.header()->sortIndicatorSection(), 2);
  EXPECT_EQ(view.header()->sortIndicatorOrder(), Qt::AscendingOrder);
  // P-1 counts down to segment 4, the fourth row once sorted.
  EXPECT_EQ(view.currentPosition(), 4u);
  EXPECT_TRUE(view.selectionModel()->isRowSelected(3, {}));
  list.clear();
  drainEvents();
  EXPECT_EQ(view.currentPosition(), 0u);
}

}  // namespace
}  // namespace tarvine::qt::test
