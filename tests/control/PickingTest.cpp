// Picking on the list: centers, Select All, whole P.O.s, freight overrides and sorting.

#include <gtest/gtest.h>

#include "ControlFixture.h"

namespace tarvine::test {
namespace {

TEST_F(ControlTest, ChoosingACenterListsItsSegmentsOnly) {
  openExampleLoad();
  ComboBox& centers = control.widgets().cboCenter;
  centers.userSelect(2);
  EXPECT_EQ(control.selectedCenterID(), 15);
  EXPECT_EQ(rowTexts(), (std::vector<std::string>{"15-300", "15-400"}));
  EXPECT_EQ(service.operations(), std::vector<std::string>{"GetOutgoingLoadBasicTotal"});
  centers.userSelect(0);
  EXPECT_EQ(control.selectedCenterID(), 0);
  EXPECT_EQ(list().rowCount(), 6u);
}

TEST_F(ControlTest, OneCenterWithNothingListedLeavesSelectAllUnchecked) {
  serveExampleLoad();
  service.setRows("GetOutgoingLoadAllOrders", {orderRow("12-1", 1, "5001", "10", 1, 10)});
  control.PutTarvineID(5001);
  EXPECT_EQ(control.widgets().chkSellectAll.value(), 1);  // every listed row is checked
  control.widgets().cboCenter.userSelect(2);
  EXPECT_EQ(list().rowCount(), 0u);
  EXPECT_EQ(control.widgets().chkSellectAll.value(), 0);
  EXPECT_EQ(totals(), (std::vector<std::string>{"0", "0.00", "0.00"}));
}

TEST_F(ControlTest, CancelThenChoosingACenterShowsOverridesUnmarked) {
  openExampleLoad();
  list().userClick(1);
  dialogs.queueAnswer("99");
  list().userDoubleClick(1);
  control.widgets().cmdCancel.userClick();
  control.widgets().cboCenter.userSelect(0);
  EXPECT_EQ(cell(1, 6), "99.00");
  EXPECT_EQ(cell(1, 7), "0");
}

TEST_F(ControlTest, SelectAllChecksEveryRowAndMarksItChanged) {
  openExampleLoad();
  control.widgets().chkSellectAll.userClick();
  for (std::size_t i = 1; i <= 6; ++i) {
    EXPECT_TRUE(checkedAt(i));
    EXPECT_EQ(cell(i, 7), "1");
    EXPECT_EQ(cell(i, 1), "X");
  }
  // Cartons 10+4+6+3+8+5; each P.O.'s weight and freight once; 15-400's freight is suggested 80.
  EXPECT_EQ(totals(), (std::vector<std::string>{"36", "4,500.00", "1,480.00"}));
  control.widgets().chkSellectAll.userClick();
  for (std::size_t i = 1; i <= 6; ++i) EXPECT_FALSE(checkedAt(i));
  EXPECT_EQ(cell(5, 1), "");
  EXPECT_EQ(totals(), (std::vector<std::string>{"0", "0.00", "0.00"}));
  // Unchecking does not recolour the row that was checked at fill time.
  EXPECT_EQ(list().row(list().rowAt(5)).color, kColorBlue);
}

TEST_F(ControlTest, AGreySelectAllClearsEveryRow) {
  openExampleLoad();
  control.widgets().chkSellectAll.setValue(2);
  EXPECT_FALSE(checkedAt(5));
  EXPECT_EQ(totals(), (std::vector<std::string>{"0", "0.00", "0.00"}));
}

TEST_F(ControlTest, SelectAllIsIgnoredWhileTheListIsFilled) {
  serveExampleLoad();
  service.setRows("GetOutgoingLoadAllOrders", {orderRow("12-1", 1, "5001", "10", 1, 10)});
  control.PutTarvineID(5001);
  // The fill set Select All from code; no row was marked changed by that.
  EXPECT_EQ(control.widgets().chkSellectAll.value(), 1);
  EXPECT_EQ(cell(1, 7), "0");
}

TEST_F(ControlTest, CheckingASegmentPicksTheWholeOrder) {
  openExampleLoad();
  list().userToggleCheck(2);  // second segment of 12-100
  for (std::size_t i = 1; i <= 3; ++i) {
    EXPECT_TRUE(checkedAt(i));
    EXPECT_EQ(cell(i, 1), "X");
    EXPECT_EQ(cell(i, 7), "1");
  }
  EXPECT_EQ(cell(5, 7), "0");  // other orders keep their marks
  // 15-300 (8 cartons, 2000 lb, 1,234.50) plus all of 12-100 counted once.
  EXPECT_EQ(totals(), (std::vector<std::string>{"28", "3,500.00", "1,360.00"}));
  list().userToggleCheck(3);
  for (std::size_t i = 1; i <= 3; ++i) EXPECT_FALSE(checkedAt(i));
  EXPECT_EQ(totals(), (std::vector<std::string>{"8", "2,000.00", "1,234.50"}));
}

TEST_F(ControlTest, FreightOverrideOnAFurtherSegmentIsRefused) {
  openExampleLoad();
  list().userDoubleClick(2);
  EXPECT_EQ(messagePrompts(),
            std::vector<std::string>{"Please select P.O's first segment line to update freight"});
  EXPECT_TRUE(dialogs.inputs().empty());
  EXPECT_EQ(cell(2, 7), "0");
}

TEST_F(ControlTest, FreightOverrideOpensForHotAndNoRateRows) {
  serveExampleLoad();
  service.setRows(
      "GetOutgoingLoadAllOrders",
      {orderRow("12-1", 1, "0", "10", 1, 10),
       orderRow("12-1", 2, "0", "10", 1, 10, {{"HighPriorityIndicator", "true"}}),
       orderRow("12-2", 1, "0", "10", 1, 10), orderRow("12-2", 2, "0", "NoRate", 1, 10)});
  control.PutTarvineID(5001);
  dialogs.queueCancel();
  list().userDoubleClick(2);
  dialogs.queueCancel();
  list().userDoubleClick(4);
  EXPECT_EQ(dialogs.inputs().size(), 2u);
  EXPECT_TRUE(messagePrompts().empty());
}

TEST_F(ControlTest, FreightOverrideWritesTheRowAndItsRecord) {
  openExampleLoad();
  dialogs.queueAnswer("1500");
  list().userDoubleClick(1);
  ASSERT_EQ(dialogs.inputs().size(), 1u);
  EXPECT_EQ(dialogs.inputs()[0].prompt, "Please enter the new Freight to for P.O 12-100");
  EXPECT_EQ(dialogs.inputs()[0].title, "Outgoing Load");
  EXPECT_EQ(dialogs.inputs()[0].defaultText, "125.50");
  EXPECT_EQ(cell(1, 6), "1,500.00");
  EXPECT_DOUBLE_EQ(control.orders()[0].Freight, 1500);
  // The row check ran: the whole P.O. is marked and follows the row's (unchecked) state.
  for (std::size_t i = 1; i <= 3; ++i) EXPECT_EQ(cell(i, 7), "1");
  EXPECT_EQ(totals(), (std::vector<std::string>{"8", "2,000.00", "1,234.50"}));
}

TEST_F(ControlTest, CancelledOrUnchangedOverrideStillMarksTheOrder) {
  openExampleLoad();
  dialogs.queueCancel();
  list().userDoubleClick(5);  // 15-300, 1,234.50
  EXPECT_EQ(cell(5, 6), "1,234.50");
  EXPECT_EQ(cell(5, 7), "1");
  dialogs.queueAnswer("1,234.50");
  list().userDoubleClick(5);
  EXPECT_EQ(cell(5, 6), "1,234.50");
}

TEST_F(ControlTest, OverrideWithANonNumberChangesNothing) {
  openExampleLoad();
  dialogs.queueAnswer("$12");
  list().userDoubleClick(1);
  EXPECT_EQ(messagePrompts(),
            std::vector<std::string>{"Freight must be a numeric value. Please enter in a number."});
  EXPECT_EQ(dialogs.messages()[0].buttons, 64);
  EXPECT_EQ(cell(1, 6), "125.50");
  EXPECT_EQ(cell(1, 7), "0");
  EXPECT_DOUBLE_EQ(control.orders()[0].Freight, 125.5);
  EXPECT_EQ(totals(), (std::vector<std::string>{"8", "2,000.00", "1,234.50"}));
}

TEST_F(ControlTest, OverrideToZeroThenTheFirstSegmentRuleApplies) {
  openExampleLoad();
  dialogs.queueAnswer("0");
  list().userDoubleClick(1);
  EXPECT_EQ(cell(1, 6), "0.00");
  list().userDoubleClick(1);
  EXPECT_EQ(messagePrompts().back(), "Please select P.O's first segment line to update freight");
}

TEST_F(ControlTest, HeaderClickSortsByThatColumnAndResetsWidths) {
  openExampleLoad();
  list().userColumnClick(7);  // freight text
  EXPECT_EQ(list().sortKey(), 6);
  EXPECT_TRUE(list().sorted());
  std::vector<std::string> freights;
  for (std::size_t i = 1; i <= 6; ++i) freights.push_back(cell(i, 6));
  EXPECT_EQ(freights,
            (std::vector<std::string>{"0.00", "0.00", "1,234.50", "125.50", "40.00", "80.00"}));
  EXPECT_DOUBLE_EQ(list().columns()[4].width, 8415 / 7.3);
  list().userColumnClick(7);
  EXPECT_EQ(cell(3, 6), "1,234.50");
  // Rows of a later fill come in sort order too.
  control.widgets().cboCenter.userSelect(0);
  EXPECT_EQ(cell(6, 6), "80.00");
}

TEST_F(ControlTest, HeavyLoadShowsItsTotals) {
  serveExampleLoad();
  service.setRows("GetOutgoingLoadAllOrders", {orderRow("12-1", 1, "5001", "1000", 30000, 30000),
                                               orderRow("12-2", 1, "5001", "2000.25", 30000, 30000),
                                               orderRow("12-3", 1, "0", "5", 1, 5000)});
  control.PutTarvineID(5001);
  EXPECT_TRUE(log.entries().empty());
  EXPECT_EQ(totals(), (std::vector<std::string>{"60000", "60,000.00", "3,000.25"}));
  list().userToggleCheck(3);
  EXPECT_EQ(totals(), (std::vector<std::string>{"60001", "65,000.00", "3,005.25"}));
  control.widgets().chkSellectAll.userClick();
  EXPECT_EQ(totals(), (std::vector<std::string>{"60001", "65,000.00", "3,005.25"}));
}

TEST_F(ControlTest, RowCheckErrorRestoresTheServiceTotals) {
  openExampleLoad();
  // A cartons cell that is not a number makes the row check fail.
  list().setSubItem(list().rowAt(4), 4, "many");
  list().userToggleCheck(4);
  ASSERT_EQ(log.entries().size(), 1u);
  EXPECT_NE(log.entries()[0].find("Error Number - 13\r\n"), std::string::npos);
  EXPECT_NE(log.entries()[0].find(" lvwOrderIDs_ItemCheck()\r\n"), std::string::npos);
  EXPECT_EQ(totals(), (std::vector<std::string>{"12.00", "2,500.00", "1,234.50"}));
}

// The service's totals after an error: a row without SumParcels shows nothing, of several rows
// the last one counts.
TEST_F(ControlTest, RowCheckErrorShowsTheLastWholeTotalRow) {
  const std::vector<std::pair<std::vector<ReplyRow>, std::vector<std::string>>> cases = {
      {{ReplyRow{{"SumWeight", "1"}}}, {"8", "2,000.00", "1,234.50"}},
      {{ReplyRow{{"SumParcels", "12"}, {"SumWeight", "2500"}, {"SumFreight", "1"}},
        ReplyRow{{"SumParcels", "3"}, {"SumWeight", "1"}, {"SumFreight", "2"}}},
       {"3.00", "1.00", "2.00"}}};
  for (const auto& [rows, expected] : cases) {
    serveExampleLoad();
    service.setRows("GetOutgoingLoadBasicTotal", rows);
    control.PutTarvineID(5001);
    list().setSubItem(list().rowAt(4), 4, "many");
    list().userToggleCheck(4);
    EXPECT_EQ(totals(), expected);
  }
}

TEST_F(ControlTest, SelectAllErrorKeepsTheTotals) {
  openExampleLoad();
  list().setSubItem(list().rowAt(2), 4, "40000");
  control.widgets().chkSellectAll.userClick();
  ASSERT_EQ(log.entries().size(), 1u);
  EXPECT_NE(log.entries()[0].find(" chkSellectAll_Click()\r\n"), std::string::npos);
  EXPECT_EQ(totals(), (std::vector<std::string>{"8", "2,000.00", "1,234.50"}));
  EXPECT_EQ(cell(1, 7), "1");  // rows changed before the error stay changed
}

TEST_F(ControlTest, LoadIdBeyond16BitsStopsTheCenterChoice) {
  openExampleLoad();
  control.PutTarvineID(32768);
  log.write("-");
  control.widgets().cboCenter.userSelect(0);
  EXPECT_NE(log.entries().back().find(" cboCenter_Click()\r\n"), std::string::npos);
  EXPECT_EQ(list().rowCount(), 0u);
}

}  // namespace
}  // namespace tarvine::test
