// Saving picks: the statements sent, what the user is told, and what the screen shows after.

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "ControlFixture.h"

namespace tarvine::test {
namespace {

// The strings of the last UpdateOutgoingLoadOrder request, as the back office parses them.
std::vector<std::string> sentStatements(const FakeRouteService& service) {
  std::vector<std::string> statements;
  for (const RecordedRequest& request : service.requests()) {
    if (request.operation != "UpdateOutgoingLoadOrder") continue;
    statements.clear();
    pugi::xml_document document;
    EXPECT_TRUE(document.load_string(request.body.c_str()));
    for (const pugi::xpath_node& item : document.select_nodes("//*[local-name()='string']")) {
      statements.emplace_back(item.node().child_value());
    }
  }
  return statements;
}

class SaveTest : public ControlTest {
 protected:
  // 12-34567 segment 1 (freight 125, not on the load) and 15-20001 segment 2 (on the load).
  void openWorkedExample() {
    serveExampleLoad();
    service.setRows("GetOutgoingLoadAllOrders", {orderRow("12-34567", 1, "0", "125", 3, 700),
                                                 orderRow("15-20001", 2, "5001", "0", 4, 900,
                                                          {{"TotalSuggestedFreight", "0"}})});
    control.PutTarvineID(5001);
    service.clearRequests();
  }
};

TEST_F(SaveTest, WorkedExample) {
  openWorkedExample();
  list().userToggleCheck(1);
  list().userToggleCheck(2);
  control.widgets().cmdSave.userClick();
  EXPECT_EQ(
      sentStatements(service),
      (std::vector<std::string>{
          "Update VOZA_OrderHeader Set VOZA_OrderHeader.OutgoingLoad = 5001, Freight = 125.00  "
          "Where CenterID = 12 and OrderID = '12-34567' and VOZA_OrderSegment = 1",
          "Update VOZA_OrderHeader Set VOZA_OrderHeader.OutgoingLoad = Null, Freight = 0.00 "
          "Where CenterID = 15 and OrderID = '15-20001' and VOZA_OrderSegment = 2",
          "EXECUTE spVOZAOrderProgressHistoryOutgoingLoadAdd 2, '12-34567',1,7,2",
          "EXECUTE spVOZAOrderProgressHistoryOutgoingLoadAdd 5, '15-20001',2,7,2", ""}));
  // The orders are read again before the update, to see that nobody changed them meanwhile.
  EXPECT_EQ(service.operations(),
            (std::vector<std::string>{"GetOutgoingLoadAllOrders", "UpdateOutgoingLoadOrder",
                                      "GetOutgoingLoadAllOrders", "GetOutgoingLoadBasicTotal"}));
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].prompt,
            "Outgoing load information has been updated successfully!!!");
  EXPECT_EQ(dialogs.messages()[0].title, "Outgoing Load Save");
  EXPECT_EQ(dialogs.messages()[0].buttons, 64);
  // Refilled from the reloaded orders: nothing is marked changed any more.
  EXPECT_EQ(cell(1, 7), "0");
  EXPECT_FALSE(control.fillingList());
}

TEST_F(SaveTest, RowsToggledTwiceOrWithFreightOnlyGetNoHistory) {
  openWorkedExample();
  list().userToggleCheck(1);
  list().userToggleCheck(1);
  dialogs.queueAnswer("130");
  list().userDoubleClick(1);
  control.widgets().cmdSave.userClick();
  EXPECT_EQ(
      sentStatements(service),
      (std::vector<std::string>{
          "Update VOZA_OrderHeader Set VOZA_OrderHeader.OutgoingLoad = Null, Freight = 130.00 "
          "Where CenterID = 12 and OrderID = '12-34567' and VOZA_OrderSegment = 1",
          ""}));
}

TEST_F(SaveTest, ThreeChangedRowsTwoFlipped) {
  openExampleLoad();
  list().userToggleCheck(1);  // 12-100: three rows flip to checked
  control.widgets().cmdSave.userClick();
  const auto statements = sentStatements(service);
  ASSERT_EQ(statements.size(), 7u);
  EXPECT_EQ(statements[3], "EXECUTE spVOZAOrderProgressHistoryOutgoingLoadAdd 2, '12-100',1,7,2");
  EXPECT_EQ(statements[5], "EXECUTE spVOZAOrderProgressHistoryOutgoingLoadAdd 2, '12-100',3,7,2");

  openExampleLoad();
  control.widgets().cboCenter.userSelect(2);  // center 15: 15-300 checked, 15-400 not
  dialogs.queueCancel();
  list().userDoubleClick(1);  // marks 15-300 without flipping it
  list().userToggleCheck(2);  // 15-400 goes on
  list().userToggleCheck(1);  // 15-300 comes off
  service.clearRequests();
  control.widgets().cmdSave.userClick();
  const auto byCenter = sentStatements(service);
  ASSERT_EQ(byCenter.size(), 5u);
  EXPECT_NE(byCenter[0].find("Where CenterID = 15 and OrderID = '15-300'"), std::string::npos);
  EXPECT_EQ(byCenter[2], "EXECUTE spVOZAOrderProgressHistoryOutgoingLoadAdd 5, '15-300',1,7,2");
  EXPECT_EQ(byCenter[3], "EXECUTE spVOZAOrderProgressHistoryOutgoingLoadAdd 2, '15-400',1,7,2");
}

TEST_F(SaveTest, CenterIdComesFromTheOrderIdInTheAllCentersView) {
  serveExampleLoad();
  service.setRows("GetOutgoingLoadCenterIDAndCenter", {{{"CenterID", "0"}, {"CenterName", "X"}}});
  service.setRows("GetOutgoingLoadAllOrders",
                  {orderRow("-77", 1, "0", "10", 1, 10, {{"CenterID", "0"}})});
  control.PutTarvineID(5001);
  list().userToggleCheck(1);
  control.widgets().cmdSave.userClick();
  ASSERT_FALSE(sentStatements(service).empty());
  EXPECT_NE(sentStatements(service)[0].find("Where CenterID = 0 and OrderID = '-77'"),
            std::string::npos);
}

TEST_F(SaveTest, OrderIdWithoutDashStopsTheSave) {
  serveExampleLoad();
  service.setRows("GetOutgoingLoadAllOrders",
                  {orderRow("1277", 1, "0", "10", 1, 10, {{"CenterID", "12"}})});
  control.PutTarvineID(5001);
  list().userToggleCheck(1);
  service.clearRequests();
  control.widgets().cmdSave.userClick();
  EXPECT_TRUE(service.requests().empty());
  ASSERT_EQ(log.entries().size(), 1u);
  EXPECT_NE(log.entries()[0].find("Error Number - 5\r\n"), std::string::npos);
  EXPECT_NE(log.entries()[0].find(" cmdSave_Click()\r\n"), std::string::npos);
  EXPECT_EQ(cell(1, 7), "1");
}

TEST_F(SaveTest, NothingChangedSendsNothingButRefills) {
  openExampleLoad();
  control.widgets().cmdSave.userClick();
  EXPECT_EQ(service.operations(), std::vector<std::string>{"GetOutgoingLoadBasicTotal"});
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_EQ(list().rowCount(), 6u);
}

TEST_F(SaveTest, QuotesAreDoubledAndFreightIsAPlainNumber) {
  serveExampleLoad();
  service.setRows("GetOutgoingLoadAllOrders",
                  {orderRow("12-3'4", 1, "0", "1500", 1, 10),
                   orderRow("12-5", 1, "0", "NoRate", 1, 10, {{"TotalSuggestedFreight", "-1"}})});
  control.PutTarvineID(5001);
  control.widgets().chkSellectAll.userClick();
  control.widgets().cmdSave.userClick();
  const auto statements = sentStatements(service);
  ASSERT_EQ(statements.size(), 5u);
  EXPECT_EQ(statements[0],
            "Update VOZA_OrderHeader Set VOZA_OrderHeader.OutgoingLoad = 5001, Freight = 1500.00  "
            "Where CenterID = 12 and OrderID = '12-3''4' and VOZA_OrderSegment = 1");
  EXPECT_NE(statements[1].find("Freight = -1  Where"), std::string::npos);
  EXPECT_EQ(statements[2], "EXECUTE spVOZAOrderProgressHistoryOutgoingLoadAdd 2, '12-3''4',1,7,2");
}

TEST_F(SaveTest, ARefusedSaveKeepsThePicks) {
  openWorkedExample();
  service.setReply("UpdateOutgoingLoadOrder", 500,
                   service::test::soapFaultReply("string 1: load 5001 is closed"));
  list().userToggleCheck(1);
  control.widgets().cmdSave.userClick();
  EXPECT_EQ(service.operations(),
            (std::vector<std::string>{"GetOutgoingLoadAllOrders", "UpdateOutgoingLoadOrder"}));
  EXPECT_EQ(messagePrompts(), std::vector<std::string>{
                                  "An application error has occured. Please check the error logs"});
  ASSERT_EQ(log.entries().size(), 1u);
  EXPECT_NE(log.entries()[0].find("Error Number - 500\r\nError Description - string 1: load 5001 "
                                  "is closed\r\n"),
            std::string::npos);
  EXPECT_NE(log.entries()[0].find(" ReturnWebserviceXML\r\n"), std::string::npos);
  EXPECT_TRUE(checkedAt(1));
  EXPECT_EQ(cell(1, 7), "1");
  // A reply that answers nothing (an empty 200) is no success either.
  service.setReply("UpdateOutgoingLoadOrder", 200, "");
  control.widgets().cmdSave.userClick();
  EXPECT_EQ(messagePrompts().size(), 2u);
  EXPECT_EQ(cell(1, 7), "1");
  // Saving again once the service takes it works as usual.
  service.setReply("UpdateOutgoingLoadOrder", 200,
                   service::test::soapDataSetReply("UpdateOutgoingLoadOrder", ""));
  control.widgets().cmdSave.userClick();
  EXPECT_EQ(messagePrompts().back(), "Outgoing load information has been updated successfully!!!");
}

TEST_F(SaveTest, AFailedExchangeIsReportedOnceByTheTransport) {
  openWorkedExample();
  list().userToggleCheck(1);
  control.PutServerName("http://127.0.0.1:9");
  control.widgets().cmdSave.userClick();
  ASSERT_EQ(log.entries().size(), 1u);
  EXPECT_NE(log.entries()[0].find(" ReturnWebserviceXML\r\n"), std::string::npos);
  EXPECT_EQ(messagePrompts().size(), 1u);
  EXPECT_TRUE(checkedAt(1));
  EXPECT_EQ(cell(1, 7), "1");
}

TEST_F(SaveTest, RefreshReloadsTheOrdersOnly) {
  openExampleLoad();
  control.widgets().cboCenter.userSelect(1);
  service.clearRequests();
  control.RefreshData();
  EXPECT_EQ(service.operations(),
            (std::vector<std::string>{"GetOutgoingLoadAllOrders", "GetOutgoingLoadBasicTotal",
                                      "GetOutgoingLoadBasicTotal", "GetOutgoingLoadBasicTotal"}));
  EXPECT_EQ(control.widgets().cboCenter.listIndex(), 0);
  EXPECT_EQ(list().rowCount(), 6u);
}

}  // namespace
}  // namespace tarvine::test
