#include <gtest/gtest.h>

#include <httplib.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <regex>
#include <set>

#include "ServeFixture.h"

namespace tarvine::serve::test {
namespace {

const std::string kReplyHead =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
    "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><soap:Body>";
const std::string kDataSetHead =
    "&lt;Root&gt;&lt;DataSet&gt;&lt;diffgr:diffgram "
    "xmlns:msdata=\"urn:schemas-microsoft-com:xml-msdata\" "
    "xmlns:diffgr=\"urn:schemas-microsoft-com:xml-diffgram-v1\"&gt;&lt;NewDataSet&gt;";
const std::string kDataSetTail =
    "&lt;/NewDataSet&gt;&lt;/diffgr:diffgram&gt;&lt;/DataSet&gt;&lt;/Root&gt;";

bool allDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "-12", "12.5", "12.25": an optional minus, digits, and one or two decimals after a point.
bool isPlainAmount(std::string_view text) {
  if (text.starts_with('-')) text.remove_prefix(1);
  const std::size_t point = text.find('.');
  if (point == std::string_view::npos) return allDigits(text);
  const std::string_view decimals = text.substr(point + 1);
  return allDigits(text.substr(0, point)) && allDigits(decimals) && decimals.size() <= 2;
}

// "2026-11-23T00:00:00-05:00": a November 2026 date at midnight with a zone offset.
bool isDataSetDate(std::string_view text) {
  return text.size() == 25 && text.starts_with("2026-11-") && allDigits(text.substr(8, 2)) &&
         text.substr(10, 9) == "T00:00:00" && (text[19] == '+' || text[19] == '-') &&
         allDigits(text.substr(20, 2)) && text[22] == ':' && allDigits(text.substr(23, 2));
}

std::string resultHead(const std::string& operation) {
  return kReplyHead + "<" + operation + "Response xmlns=\"" + kNamespace + "\"><" + operation +
         "Result>";
}

std::string resultTail(const std::string& operation) {
  return "</" + operation + "Result></" + operation + "Response></soap:Body></soap:Envelope>";
}

std::string table(int index, const std::string& columns) {
  return "&lt;Table diffgr:id=\"Table" + std::to_string(index + 1) + "\" msdata:rowOrder=\"" +
         std::to_string(index) + "\"&gt;" + columns + "&lt;/Table&gt;";
}

std::string column(const std::string& name, const std::string& value) {
  return "&lt;" + name + "&gt;" + value + "&lt;/" + name + "&gt;";
}

using QueryOperations = ServeFixture;

TEST_F(QueryOperations, CentersReplyIsTheBackOfficeEnvelopeByteForByte) {
  const HttpReply reply =
      call("GetOutgoingLoadCenterIDAndCenter", loadQuery("GetOutgoingLoadCenterIDAndCenter", 5001));
  EXPECT_EQ(reply.status, 200);
  EXPECT_EQ(reply.contentType, "text/xml; charset=utf-8");
  const std::string op = "GetOutgoingLoadCenterIDAndCenter";
  EXPECT_EQ(reply.body,
            resultHead(op) + kDataSetHead +
                table(0, column("CenterID", "12") + column("CenterName", "Columbus")) +
                table(1, column("CenterID", "15") + column("CenterName", "Dayton")) +
                table(2, column("CenterID", "21") + column("CenterName", "Cincinnati")) +
                table(3, column("CenterID", "27") + column("CenterName", "Louisville")) +
                kDataSetTail + resultTail(op));
}

TEST_F(QueryOperations, RouteReplyIsByteForByte) {
  const std::string op = "GetOutgoingLoadDescriptionRoute";
  const HttpReply reply = call(op, loadQuery(op, 5001));
  EXPECT_EQ(reply.body, resultHead(op) + kDataSetHead +
                            table(0, column("Description", "Ohio Valley Tuesday run") +
                                         column("Route", "OV-04")) +
                            kDataSetTail + resultTail(op));
}

TEST_F(QueryOperations, UnknownLoadGivesAnEmptyDataSet) {
  const std::string op = "GetOutgoingLoadDescriptionRoute";
  const HttpReply reply = call(op, loadQuery(op, 4242));
  EXPECT_EQ(reply.status, 200);
  EXPECT_EQ(reply.body, resultHead(op) +
                            "&lt;Root&gt;&lt;DataSet&gt;&lt;diffgr:diffgram "
                            "xmlns:msdata=\"urn:schemas-microsoft-com:xml-msdata\" "
                            "xmlns:diffgr=\"urn:schemas-microsoft-com:xml-diffgram-v1\"&gt;"
                            "&lt;NewDataSet /&gt;&lt;/diffgr:diffgram&gt;&lt;/DataSet&gt;"
                            "&lt;/Root&gt;" +
                            resultTail(op));
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
  EXPECT_TRUE(reply.body.starts_with(resultHead("GetOutgoingLoadAllOrders") + kDataSetHead));
  EXPECT_TRUE(reply.body.ends_with(kDataSetTail + resultTail("GetOutgoingLoadAllOrders")));

  const std::vector<Row> rows = dataSetRows(reply.body);
  ASSERT_EQ(rows.size(), 50u);
  const std::vector<std::string> columns{"OrderID",
                                         "VOZA_OrderSegment",
                                         "LoadDate",
                                         "NumberParcels",
                                         "FactoryWeight",
                                         "CubicFeet",
                                         "FreightCost",
                                         "OutgoingLoad",
                                         "Freight",
                                         "CenterID",
                                         "MinimumCharge",
                                         "TotalFactoryWeight",
                                         "TotalRate",
                                         "TotalSuggestedFreight",
                                         "HighPriorityIndicator",
                                         "OverrideFreightIndicator"};
  std::map<std::string, double> orderWeight;
  for (const Row& row : rows) {
    EXPECT_EQ(row.names, columns);
    for (const char* name : {"FactoryWeight", "CubicFeet", "FreightCost", "MinimumCharge",
                             "TotalRate", "TotalSuggestedFreight"}) {
      EXPECT_TRUE(isPlainAmount(row[name])) << name << " " << row[name];
    }
    EXPECT_TRUE(row["Freight"] == "NoRate" || isPlainAmount(row["Freight"]));
    EXPECT_TRUE(isDataSetDate(row["LoadDate"])) << row["LoadDate"];
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
  const Row& noRate = *byKey.at("15-20017/1");
  EXPECT_EQ(noRate["Freight"], "NoRate");
  EXPECT_EQ(noRate["OutgoingLoad"], "0");
  const Row& hot = *byKey.at("12-34581/1");
  EXPECT_EQ(hot["HighPriorityIndicator"], "true");
  EXPECT_EQ(hot["OutgoingLoad"], "5001");
  EXPECT_EQ(hot["Freight"], "1234.75");
  const Row& astray = *byKey.at("15-20033/4");
  EXPECT_EQ(astray["OverrideFreightIndicator"], "true");
  EXPECT_EQ(astray["Freight"], "35");
  EXPECT_EQ(byKey.at("15-20033/1")->values.at("OverrideFreightIndicator"), "false");
}

TEST_F(QueryOperations, AllOrdersKeepsOtherFacilitiesFreeSegmentsOut) {
  const std::vector<Row> rows = allOrders(5001, "ELSEWHERE");
  ASSERT_EQ(rows.size(), 24u);
  for (const Row& row : rows) EXPECT_EQ(row["OutgoingLoad"], "5001");
}

TEST_F(QueryOperations, BasicTotalSumsTheSegmentsOnTheLoad) {
  double cubicFeet = 0;
  double freight = 0;
  double weight = 0;
  long parcels = 0;
  for (const Row& row : allOrders(5001)) {
    if (row["OutgoingLoad"] != "5001") continue;
    cubicFeet += std::stod(row["CubicFeet"]);
    if (row["Freight"] != "NoRate") freight += std::stod(row["Freight"]);
    weight += std::stod(row["FactoryWeight"]);
    parcels += std::stol(row["NumberParcels"]);
  }
  const std::string op = "GetOutgoingLoadBasicTotal";
  const HttpReply reply = call(op, loadQuery(op, 5001));
  EXPECT_TRUE(reply.body.starts_with(resultHead(op) + kDataSetHead +
                                     "&lt;Table diffgr:id=\"Table1\" msdata:rowOrder=\"0\"&gt;"
                                     "&lt;SumCubicFeet&gt;"));
  EXPECT_TRUE(reply.body.ends_with("&lt;/Table&gt;" + kDataSetTail + resultTail(op)));
  const std::vector<Row> rows = dataSetRows(reply.body);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].names,
            (std::vector<std::string>{"SumCubicFeet", "SumFreight", "SumParcels", "SumWeight"}));
  EXPECT_NEAR(std::stod(rows[0]["SumCubicFeet"]), cubicFeet, 0.005);
  EXPECT_NEAR(std::stod(rows[0]["SumFreight"]), freight, 0.005);
  EXPECT_NEAR(std::stod(rows[0]["SumWeight"]), weight, 0.005);
  EXPECT_EQ(rows[0]["SumParcels"], std::to_string(parcels));
}

TEST_F(QueryOperations, BasicTotalOfAnEmptyLoadIsOneRowWithoutColumns) {
  const HttpReply reply =
      call("GetOutgoingLoadBasicTotal", loadQuery("GetOutgoingLoadBasicTotal", 4242));
  EXPECT_NE(reply.body.find("&lt;NewDataSet&gt;&lt;Table diffgr:id=\"Table1\" "
                            "msdata:rowOrder=\"0\" /&gt;&lt;/NewDataSet&gt;"),
            std::string::npos);
}

TEST_F(QueryOperations, IsPOFoundAnswersReceivedOrdersWithCenterAndHighestSegment) {
  const std::string body = std::string("<IsPOFound xmlns=\"") + kNamespace +
                           "\">      <OrderID>27-70460</OrderID></IsPOFound>";
  const HttpReply reply = call("IsPOFound", body);
  EXPECT_EQ(reply.body, resultHead("IsPOFound") + kDataSetHead +
                            table(0, column("IsPOFound", "1") + column("CenterID", "27") +
                                         column("HighestSegmentNumber", "3")) +
                            kDataSetTail + resultTail("IsPOFound"));
  const std::vector<Row> found = dataSetRows(reply.body);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0]["IsPOFound"], "1");
  EXPECT_EQ(found[0]["CenterID"], "27");
  EXPECT_EQ(found[0]["HighestSegmentNumber"], "3");

  const std::string missing = std::string("<IsPOFound xmlns=\"") + kNamespace +
                              "\">      <OrderID>27-99999</OrderID></IsPOFound>";
  const std::vector<Row> notFound = dataSetRows(call("IsPOFound", missing).body);
  ASSERT_EQ(notFound.size(), 1u);
  EXPECT_EQ(notFound[0].names, std::vector<std::string>{"IsPOFound"});
  EXPECT_EQ(notFound[0]["IsPOFound"], "0");
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
