// Opening a load: requests, header, orders and the first fill.

#include <gtest/gtest.h>

#include "ControlFixture.h"

namespace tarvine::test {
namespace {

using Rows = std::vector<ReplyRow>;

TEST_F(ControlTest, OpeningALoadAsksTheServiceInOrder) {
  serveExampleLoad();
  control.PutTarvineID(5001);
  EXPECT_EQ(service.operations(),
            (std::vector<std::string>{"GetOutgoingLoadCenterIDAndCenter",
                                      "GetOutgoingLoadDescriptionRoute", "GetOutgoingLoadAllOrders",
                                      "GetOutgoingLoadBasicTotal"}));
  const auto requests = service.requests();
  for (const RecordedRequest& request : requests) {
    EXPECT_NE(request.body.find("<OutgoingLoadID>5001</OutgoingLoadID>"), std::string::npos);
    EXPECT_EQ(request.host, service.server().substr(7));
    EXPECT_EQ(request.soapAction,
              "http://tarvine.example/VOZARouteLocations/Service1/" + request.operation);
  }
  EXPECT_NE(requests[2].body.find("<FacilityID>DEMO</FacilityID>"), std::string::npos);
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(ControlTest, OpeningALoadShowsHeaderListAndTotals) {
  openExampleLoad();
  const ControlWidgets& w = control.widgets();
  EXPECT_EQ(w.lblTarvineID.caption(), "5001");
  EXPECT_EQ(w.lblRoute.caption(), "Lakes run [R7 ]");
  ASSERT_EQ(w.cboCenter.count(), 3);
  EXPECT_EQ(w.cboCenter.entries()[0].text, "For ALL centers on the route");
  EXPECT_EQ(w.cboCenter.entries()[1].text, "North  [ 12 ] ");
  EXPECT_EQ(w.cboCenter.entries()[2].itemData, 15);
  EXPECT_EQ(w.cboCenter.listIndex(), 0);
  EXPECT_EQ(control.centerList(), (std::vector<std::string>{"12", "15", ""}));
  EXPECT_EQ(control.selectedCenterID(), 0);
  EXPECT_EQ(rowTexts(),
            (std::vector<std::string>{"12-100", "12-100", "12-100", "12-200", "15-300", "15-400"}));
  // Only 15-300 is on the load: cartons 8, its weight 2000 and freight 1,234.50.
  EXPECT_EQ(totals(), (std::vector<std::string>{"8", "2,000.00", "1,234.50"}));
  EXPECT_EQ(w.chkSellectAll.value(), 0);
  EXPECT_TRUE(w.chkSellectAll.enabled());
  EXPECT_FALSE(control.basicTotalXML().empty());
}

TEST_F(ControlTest, RowsCarryMarksTagsAndTheFirstRowRule) {
  openExampleLoad();
  // First row of 12-100 shows the order's weight and freight, the others "0" and "0.00".
  EXPECT_EQ(cell(1, 5), "1500");
  EXPECT_EQ(cell(1, 6), "125.50");
  EXPECT_EQ(cell(2, 5), "0");
  EXPECT_EQ(cell(2, 6), "0.00");
  EXPECT_EQ(cell(1, 2), "1");
  EXPECT_EQ(cell(3, 2), "3");
  EXPECT_EQ(cell(1, 3), "11/30/2026");
  EXPECT_EQ(cell(1, 4), "10");
  EXPECT_EQ(cell(1, 7), "0");
  EXPECT_EQ(list().row(list().rowAt(1)).tag, "UnChecked;0");
  EXPECT_EQ(list().row(list().rowAt(5)).tag, "Checked;4");
  EXPECT_EQ(cell(5, 1), "X");
  EXPECT_EQ(cell(4, 8), "X");
  EXPECT_EQ(cell(6, 10), "True");
  EXPECT_EQ(cell(1, 10), "False");
}

TEST_F(ControlTest, ColoursShowTheStateAtFillTime) {
  serveExampleLoad();
  service.setRows("GetOutgoingLoadAllOrders",
                  {orderRow("12-1", 1, "5001", "10", 1, 10, {{"HighPriorityIndicator", "true"}}),
                   orderRow("12-2", 1, "0", "10", 1, 10, {{"HighPriorityIndicator", "1"}}),
                   orderRow("12-3", 1, "0", "10", 1, 10)});
  control.PutTarvineID(5001);
  EXPECT_EQ(list().row(list().rowAt(1)).color, kColorBlue);
  EXPECT_EQ(list().row(list().rowAt(2)).color, kColorRed);
  EXPECT_FALSE(list().row(list().rowAt(3)).color.has_value());
  // Checking later does not recolour.
  list().userToggleCheck(3);
  EXPECT_FALSE(list().row(list().rowAt(3)).color.has_value());
}

struct FreightCase {
  const char* name;
  std::string freight;
  std::string suggested;
  std::string overrideFlag;
  double expected;
  bool noRate;
};

class EffectiveFreightTest : public ControlTest,
                             public ::testing::WithParamInterface<FreightCase> {};

TEST_P(EffectiveFreightTest, RecordFreight) {
  const FreightCase& c = GetParam();
  serveExampleLoad();
  service.setRows("GetOutgoingLoadAllOrders",
                  {orderRow("12-1", 1, "0", c.freight, 1, 10,
                            {{"TotalSuggestedFreight", c.suggested},
                             {"OverrideFreightIndicator", c.overrideFlag}})});
  control.PutTarvineID(5001);
  ASSERT_EQ(control.orders().size(), 2u);
  EXPECT_DOUBLE_EQ(control.orders()[0].Freight, c.expected);
  EXPECT_EQ(control.orders()[0].NoRate, c.noRate);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, EffectiveFreightTest,
    ::testing::Values(
        FreightCase{"NoRateFallsBackToSuggested", "NoRate", "99.999", "false", 100, true},
        FreightCase{"NoRateOverriddenIsZero", "NoRate", "99", "true", 0, true},
        FreightCase{"ZeroFallsBackToSuggested", "0", "123.456", "false", 123.46, false},
        FreightCase{"FreightWins", "45.5", "999", "false", 45.5, false},
        FreightCase{"OverrideKeepsFreight", "0", "999", "True", 0, false},
        FreightCase{"MinusOneFallsBack", "-1", "-1", "false", -1, false},
        FreightCase{"SuggestedMinusOneShowsMinusOne", "NoRate", "-1", "0", -1, true}),
    [](const auto& info) { return info.param.name; });

TEST_F(ControlTest, ASegmentOfACenterOffTheRouteIsLeftOut) {
  serveExampleLoad();
  service.setRows("GetOutgoingLoadAllOrders", {orderRow("12-1", 1, "0", "10", 1, 10),
                                               orderRow("33-1", 1, "5001", "10", 1, 10)});
  control.PutTarvineID(5001);
  EXPECT_EQ(rowTexts(), std::vector<std::string>{"12-1"});
  EXPECT_EQ(totals(), (std::vector<std::string>{"0", "0.00", "0.00"}));
}

TEST_F(ControlTest, MinusOneFreightShowsAndCountsAsMinusOne) {
  serveExampleLoad();
  service.setRows("GetOutgoingLoadAllOrders",
                  {orderRow("12-1", 1, "5001", "NoRate", 1, 10, {{"TotalSuggestedFreight", "-1"}}),
                   orderRow("12-2", 1, "5001", "20", 1, 10)});
  control.PutTarvineID(5001);
  EXPECT_EQ(cell(1, 6), "-1");
  EXPECT_EQ(totals()[2], "19.00");
}

TEST_F(ControlTest, WorkingValuesCarryOverBetweenRows) {
  serveExampleLoad();
  ReplyRow second = {{"OrderID", "12-1"}, {"VOZA_OrderSegment", "2"}};
  service.setRows(
      "GetOutgoingLoadAllOrders",
      {orderRow("12-1", 1, "0", "10", 7, 300, {{"HighPriorityIndicator", "true"}}), second, {}});
  control.PutTarvineID(5001);
  const OrderArray& orders = control.orders();
  ASSERT_EQ(orders.size(), 4u);
  EXPECT_EQ(orders[1].Segment, 2);
  EXPECT_EQ(orders[1].Cartons, 7);
  EXPECT_EQ(orders[1].HotItem, 1);
  EXPECT_EQ(orders[1].TotalFactoryWeight, 300);
  EXPECT_EQ(orders[2].Segment, 2);  // an empty row copies the previous values
  EXPECT_EQ(orders[2].IndexValue, 2);
  EXPECT_EQ(orders[3].OrderID, "");  // the spare element
}

TEST_F(ControlTest, FirstRowWithoutOutgoingLoadCountsAsChecked) {
  serveExampleLoad();
  ReplyRow row = orderRow("12-1", 1, "0", "10", 1, 10);
  std::erase_if(row, [](const auto& column) { return column.first == "OutgoingLoad"; });
  service.setRows("GetOutgoingLoadAllOrders", {row});
  control.PutTarvineID(5001);
  EXPECT_TRUE(control.orders()[0].Checked);
}

TEST_F(ControlTest, BadSegmentStopsTheLoadWithAReport) {
  serveExampleLoad();
  service.setRows("GetOutgoingLoadAllOrders", {orderRow("12-1", 1, "0", "10", 1, 10),
                                               orderRow("12-2", 40000, "0", "10", 1, 10)});
  control.PutTarvineID(5001);
  ASSERT_EQ(log.entries().size(), 1u);
  EXPECT_NE(log.entries()[0].find("Error Number - 6\r\n"), std::string::npos);
  EXPECT_NE(log.entries()[0].find(" PopulateAllOrders\r\n"), std::string::npos);
  EXPECT_EQ(list().rowCount(), 0u);        // the list is not refilled
  EXPECT_EQ(control.orders().size(), 2u);  // one record, one partly filled, no spare
}

TEST_F(ControlTest, UnusableRepliesAreReportedAndLeaveAnEmptyLoad) {
  serveExampleLoad();
  service.setReply("GetOutgoingLoadAllOrders", 200, "<html>busy</html>");
  service.setReply("GetOutgoingLoadCenterIDAndCenter", 500, "");
  control.PutTarvineID(5001);
  ASSERT_EQ(log.entries().size(), 2u);
  EXPECT_NE(log.entries()[0].find("Error Number - 500\r\nError Description - HTTP 500 reply "
                                  "without a GetOutgoingLoadCenterIDAndCenterResponse"),
            std::string::npos);
  EXPECT_NE(log.entries()[1].find(" ReturnWebserviceXML\r\n"), std::string::npos);
  EXPECT_EQ(control.orders().size(), 1u);
  EXPECT_EQ(control.widgets().cboCenter.count(), 1);
  EXPECT_EQ(list().rowCount(), 0u);
  // With no center listed, the empty all-centers view still leaves Select All checked.
  EXPECT_EQ(control.widgets().chkSellectAll.value(), 1);
  EXPECT_EQ(totals(), (std::vector<std::string>{"0", "0.00", "0.00"}));
}

TEST_F(ControlTest, LoadIdOutside16BitsIsReportedAfterShowingIt) {
  openExampleLoad();
  control.PutTarvineID(40000);
  EXPECT_EQ(control.widgets().lblTarvineID.caption(), "40000");
  EXPECT_EQ(control.outgoingLoadID(), 40000);
  EXPECT_TRUE(service.requests().empty());
  ASSERT_EQ(log.entries().size(), 1u);
  EXPECT_NE(log.entries()[0].find("Error Source - prjTarvineActiveX PutTarvineID\r\n"),
            std::string::npos);
  EXPECT_EQ(list().rowCount(), 6u);  // the previous load stays on screen
}

TEST_F(ControlTest, AFailedExchangeIsReportedByTheTransport) {
  control.PutServerName("http://127.0.0.1:9");  // nothing listens there
  control.PutTarvineID(5001);
  ASSERT_GE(log.entries().size(), 1u);
  EXPECT_NE(log.entries()[0].find(" ReturnWebserviceXML\r\n"), std::string::npos);
  EXPECT_EQ(control.widgets().cboCenter.count(), 1);
}

TEST_F(ControlTest, AFacilityThatIsNotUtf8IsNeverSent) {
  serveExampleLoad();
  control.SetFacilityID("DOCK \xFF");
  control.PutTarvineID(5001);
  EXPECT_EQ(service.operations(), (std::vector<std::string>{"GetOutgoingLoadCenterIDAndCenter",
                                                            "GetOutgoingLoadDescriptionRoute",
                                                            "GetOutgoingLoadBasicTotal"}));
  ASSERT_EQ(log.entries().size(), 1u);
  EXPECT_NE(log.entries()[0].find("GetOutgoingLoadAllOrders request was not sent"),
            std::string::npos);
  EXPECT_EQ(list().rowCount(), 0u);
}

TEST_F(ControlTest, HeaderRowsAndBasicTotals) {
  serveExampleLoad();
  service.setRows(
      "GetOutgoingLoadCenterIDAndCenter",
      {{{"CenterID", "12"}, {"CenterName", "North"}}, {{"CenterName", "Bad"}, {"CenterID", ""}}});
  control.PutTarvineID(5001);
  // The failing row's entry stays without item data; CenterList is not grown for it.
  ASSERT_EQ(control.widgets().cboCenter.count(), 3);
  EXPECT_EQ(control.widgets().cboCenter.entries()[2].itemData, 0);
  EXPECT_EQ(control.centerList(), (std::vector<std::string>{"12", ""}));
  ASSERT_FALSE(log.entries().empty());
  EXPECT_NE(log.entries()[0].find(" LoadCenterComboBox\r\n"), std::string::npos);
}

}  // namespace
}  // namespace tarvine::test
