// The list's model and view over a headless list view: large fills, gathered changes and rows
// that are gone before a refresh (what it shows: PickWindowTest's golden windows).

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
  EXPECT_EQ(model().index(kLargestLoad - 1, 4).data().toString(),
            QString::number((kLargestLoad - 1) * 10));
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

}  // namespace
}  // namespace tarvine::qt::test
