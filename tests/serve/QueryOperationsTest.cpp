#include <gtest/gtest.h>

#include <httplib.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <regex>
#include <set>

#include "Golden.h"
#include "ServeFixture.h"

namespace tarvine::serve::test {
namespace {

// "-12", "12.5", "12.25": an optional minus, digits, and one or two decimals after a point.
const std::regex kPlainAmount(R"(-?\d+(\.\d\d?)?)");
// "2026-11-23T00:00:00-05:00": a November 2026 date at midnight with a zone offset.
const std::regex kDataSetDate(R"(2026-11-\d\dT00:00:00[+-]\d\d:\d\d)");

using QueryOperations = ServeFixture;

// The replies of the demo load and of a load that does not exist, byte for byte.
TEST_F(QueryOperations, RepliesAreTheBackOfficeEnvelopesByteForByte) {
  std::string all;
  for (const auto& [op, load] :
       std::vector<std::pair<std::string, int>>{{"GetOutgoingLoadCenterIDAndCenter", 5001},
                                                {"GetOutgoingLoadDescriptionRoute", 5001},
                                                {"GetOutgoingLoadDescriptionRoute", 4242},
                                                {"GetOutgoingLoadBasicTotal", 5001},
                                                {"GetOutgoingLoadBasicTotal", 4242}}) {
    const HttpReply reply = call(op, loadQuery(op, load));
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.contentType, "text/xml; charset=utf-8");
    all += op + " " + std::to_string(load) + ":\n" + reply.body + "\n";
  }
  for (const char* order : {"27-70460", "27-99999"}) {
    all += std::string("IsPOFound ") + order + ":\n" +
           call("IsPOFound", std::string("<IsPOFound xmlns=\"") + kNamespace +
                                 "\">      <OrderID>" + order + "</OrderID></IsPOFound>")
               .body +
           "\n";
  }
  tarvine::test::expectGolden(all, "serve-query-replies.xml");
  EXPECT_TRUE(allOrders(4242).empty());
}

TEST_F(QueryOperations, CenterNamesAreEscapedInsideTheDataSetAndAgainInTheResult) {
  db().execute("UPDATE Center SET CenterName = 'A&B <North>' WHERE CenterID = 12");
  const std::string op = "GetOutgoingLoadCenterIDAndCenter";
  const HttpReply reply = call(op, loadQuery(op, 5001));
  EXPECT_NE(reply.body.find("A&amp;amp;B &amp;lt;North&amp;gt;"), std::string::npos);
  EXPECT_EQ(dataSetRows(reply.body).at(0)["CenterName"], "A&B <North>");
}

TEST_F(QueryOperations, AllOrdersListsTheLoadAndTheRoutesFreeSegmentsInOrder) {
  const HttpReply reply = call("GetOutgoingLoadAllOrders", allOrdersQuery(5001, "DEMO"));
  ASSERT_EQ(reply.status, 200);

  const std::vector<Row> rows = dataSetRows(reply.body);
  ASSERT_EQ(rows.size(), 50u);
  const std::string columns =
      "OrderID VOZA_OrderSegment LoadDate NumberParcels FactoryWeight CubicFeet FreightCost "
      "OutgoingLoad Freight CenterID MinimumCharge TotalFactoryWeight TotalRate "
      "TotalSuggestedFreight HighPriorityIndicator OverrideFreightIndicator ";
  std::map<std::string, double> orderWeight;
  for (const Row& row : rows) {
    std::string names;
    for (const std::string& name : row.names) names += name + " ";
    EXPECT_EQ(names, columns);
    for (const char* name : {"FactoryWeight", "CubicFeet", "FreightCost", "MinimumCharge",
                             "TotalRate", "TotalSuggestedFreight"}) {
      EXPECT_TRUE(std::regex_match(row[name], kPlainAmount)) << name << " " << row[name];
    }
    EXPECT_TRUE(row["Freight"] == "NoRate" || std::regex_match(row["Freight"], kPlainAmount));
    EXPECT_TRUE(std::regex_match(row["LoadDate"], kDataSetDate)) << row["LoadDate"];
    EXPECT_TRUE(row["OutgoingLoad"] == "0" || row["OutgoingLoad"] == "5001");
    EXPECT_NE(row["OrderID"].rfind(row["CenterID"] + "-", 0), std::string::npos);
    orderWeight[row["OrderID"]] += std::stod(row["FactoryWeight"]);
  }
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const auto key = [&](std::size_t k) {
      return std::make_tuple(std::stoi(rows[k]["CenterID"]), rows[k]["OrderID"],
                             std::stoi(rows[k]["VOZA_OrderSegment"]));
    };
    EXPECT_LT(key(i - 1), key(i));
  }
  for (const Row& row : rows) {
    EXPECT_EQ(row["TotalFactoryWeight"], std::to_string(std::llround(orderWeight[row["OrderID"]])));
  }
  std::set<std::string> orders;
  for (const Row& row : rows) orders.insert(row["OrderID"]);
  EXPECT_EQ(orders.count("33-88012"), 0u) << "center off the route";
  EXPECT_EQ(orders.count("27-70460"), 0u) << "segment on another load";
}

TEST_F(QueryOperations, AllOrdersWritesNoRateFreeSegmentsHotAndAstrayRows) {
  db().execute(
      "UPDATE VOZA_OrderHeader SET Freight = 1234.75 WHERE OrderID = '12-34581' AND "
      "VOZA_OrderSegment = 1");
  const std::vector<Row> rows = allOrders(5001);
  std::map<std::string, const Row*> byKey;
  for (const Row& row : rows) byKey[row["OrderID"] + "/" + row["VOZA_OrderSegment"]] = &row;
  const auto cells = [&](const std::string& key) {
    const Row& row = *byKey.at(key);
    return row["Freight"] + " " + row["OutgoingLoad"] + " " + row["HighPriorityIndicator"] + " " +
           row["OverrideFreightIndicator"];
  };
  EXPECT_EQ(cells("15-20017/1"), "NoRate 0 false false");
  EXPECT_EQ(cells("12-34581/1"), "1234.75 5001 true false");
  EXPECT_EQ(cells("15-20033/4"), "35 5001 false true");
  EXPECT_EQ(cells("15-20033/1").substr(cells("15-20033/1").rfind(' ')), " false");
}

TEST_F(QueryOperations, AllOrdersKeepsOtherFacilitiesFreeSegmentsOut) {
  const std::vector<Row> rows = allOrders(5001, "ELSEWHERE");
  ASSERT_EQ(rows.size(), 24u);
  for (const Row& row : rows) EXPECT_EQ(row["OutgoingLoad"], "5001");
}

TEST_F(QueryOperations, LogsOneLinePerRequestWhateverTheRequestHolds) {
  call("GetOutgoingLoadBasicTotal", loadQuery("GetOutgoingLoadBasicTotal", 5001));
  call("Nonsense", "<Nonsense/>");
  httplib::Client("127.0.0.1", port_).Get("/elsewhere");
  // A load id that tries to start a log line of its own and to clear the screen.
  call("GetOutgoingLoadBasicTotal",
       std::string("<GetOutgoingLoadBasicTotal xmlns=\"") + kNamespace +
           "\"><OutgoingLoadID>1\n2030-01-01T00:00:00.000Z 10.0.0.9 UpdateOutgoingLoadOrder: "
           "ok\x1b[2J</OutgoingLoadID></GetOutgoingLoadBasicTotal>");
  const std::vector<std::string> lines = logLines();
  ASSERT_EQ(lines.size(), 4u);
  const std::regex start(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z 127\.0\.0\.1 )");
  for (const std::string& line : lines) {
    EXPECT_EQ(line.find_first_of("\r\n\x1b"), std::string::npos) << line;
    EXPECT_TRUE(std::regex_search(line, start)) << line;
    EXPECT_TRUE(line.ends_with(" ms")) << line;
  }
  EXPECT_NE(lines[0].find(" GetOutgoingLoadBasicTotal load 5001: ok, 1 rows, "), std::string::npos);
  EXPECT_NE(lines[1].find(" (no operation): fault soap:Client (operation Nonsense is in"),
            std::string::npos)
      << lines[1];
  EXPECT_NE(lines[2].find(" GET /elsewhere: HTTP 404, "), std::string::npos);
  EXPECT_NE(lines[3].find(" load 1\\n2030-01-01T00:00:00.000Z 10.0.0.9 UpdateOutgoingLoadOrder: "
                          "ok\\x1b[2J: fault soap:Client"),
            std::string::npos)
      << lines[3];
}

}  // namespace
}  // namespace tarvine::serve::test
