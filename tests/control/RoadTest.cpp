// The dispatcher's whole road against the reference route service and its database.

#include <gtest/gtest.h>

#include "DemoHost.h"
#include "DemoRouteService.h"
#include "astray/frmAstray.h"
#include "control/TarvineOrderPick.h"

namespace tarvine::test {
namespace {

// The road over plain HTTP and over HTTPS with a certificate the control verifies.
class RoadTest : public ::testing::TestWithParam<bool> {
 protected:
  RoadTest() {
    pointAtDemo(control, service.server());
    control.PutTarvineID(5001);
  }
  ListView& list() { return control.widgets().lvwOrderIDs; }
  std::vector<std::size_t> positionsOf(const std::string& orderID) {
    std::vector<std::size_t> positions;
    for (std::size_t i = 1; i <= list().rowCount(); ++i) {
      if (list().row(list().rowAt(i)).text == orderID) positions.push_back(i);
    }
    return positions;
  }

  DemoRouteService service{GetParam()};
  RecordingDialogs dialogs;
  MemoryEventLog log;
  TarvineOrderPick control{dialogs, log};
};

TEST_P(RoadTest, PickOverrideSaveAndSeeItReloaded) {
  const auto rows = positionsOf("12-34567");
  ASSERT_EQ(rows.size(), 5u);
  list().userToggleCheck(rows[2]);
  list().userClick(rows[0]);
  dialogs.queueAnswer("1500");
  list().userDoubleClick(rows[0]);
  control.widgets().cmdSave.userClick();
  EXPECT_TRUE(log.entries().empty());
  EXPECT_EQ(dialogs.messages().back().prompt,
            "Outgoing load information has been updated successfully!!!");

  EXPECT_EQ(service.queryText("SELECT COUNT(*) FROM VOZA_OrderHeader WHERE OrderID = '12-34567'"
                              " AND OutgoingLoad = 5001"),
            "5");
  EXPECT_EQ(service.queryText("SELECT Freight FROM VOZA_OrderHeader WHERE OrderID = '12-34567'"
                              " AND VOZA_OrderSegment = 1"),
            "1500.0");
  EXPECT_EQ(service.queryText("SELECT COUNT(*) FROM VOZA_OrderProgressHistory WHERE OrderID ="
                              " '12-34567' AND ProgressCode = 2 AND PersonID = 7"),
            "5");
  for (std::size_t position : positionsOf("12-34567")) {
    const ListRow& row = list().row(list().rowAt(position));
    EXPECT_TRUE(row.checked);
    EXPECT_EQ(row.sub[6], "0");
    EXPECT_TRUE(row.tag.starts_with("Checked;"));
  }
  EXPECT_EQ(list().row(list().rowAt(positionsOf("12-34567")[0])).sub[5], "1,500.00");
}

TEST_P(RoadTest, AstrayAddEndsWithTheNewSegmentInTheList) {
  EXPECT_TRUE(positionsOf("12-34650").empty());  // on another load
  dialogs.setFormHandler([&](Screen&) {
    const AstrayWidgets& w = control.astrayForm()->widgets();
    w.txtPO1.setText("12");
    w.txtPO2.setText("34650");
    w.txtCartons.setText("6");
    w.txtFreight.setText("42.50");
    w.txtComments.setText("found behind door 3");
    w.cmdAddAstrayItem.userClick();
  });
  control.widgets().cmdAddAstrayItem.userClick();
  EXPECT_TRUE(log.entries().empty()) << log.entries().front();
  const auto rows = positionsOf("12-34650");
  ASSERT_EQ(rows.size(), 1u);
  const ListRow& row = list().row(list().rowAt(rows[0]));
  EXPECT_TRUE(row.checked);
  EXPECT_EQ(row.sub[1], "4");  // one above the highest segment
  EXPECT_EQ(row.sub[3], "6");  // cartons
  EXPECT_EQ(row.sub[5], "42.50");
  EXPECT_EQ(row.sub[8], "X");  // astray
}

INSTANTIATE_TEST_SUITE_P(Schemes, RoadTest, ::testing::Bool(), [](const auto& info) {
  return std::string(info.param ? "Https" : "Http");
});

}  // namespace
}  // namespace tarvine::test
