#include <gtest/gtest.h>

#include <httplib.h>

#include <regex>

#include "Golden.h"
#include "ServeFixture.h"

namespace tarvine::serve::test {
namespace {

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

// The rows of the demo load for its own facility and for another one, every cell of every row;
// the dates' zone offset follows the machine's zone and is checked for its form only.
TEST_F(QueryOperations, AllOrdersListsTheLoadAndTheRoutesFreeSegmentsInOrder) {
  db().execute(
      "UPDATE VOZA_OrderHeader SET Freight = 1234.75 WHERE OrderID = '12-34581' AND "
      "VOZA_OrderSegment = 1");
  std::string all;
  for (const char* facility : {"DEMO", "ELSEWHERE"}) {
    all += std::string(facility) + ":\n";
    for (const Row& row : allOrders(5001, facility)) {
      EXPECT_TRUE(std::regex_match(row["LoadDate"], kDataSetDate)) << row["LoadDate"];
      for (const std::string& name : row.names) {
        all += name + "=" + (name == "LoadDate" ? row[name].substr(0, 19) : row[name]) + " ";
      }
      all += "\n";
    }
  }
  tarvine::test::expectGolden(all, "serve/all-orders.txt");
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
  // The time and the duration vary; the rest is pinned.
  const std::regex varying(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z|, \d+ ms$)");
  std::string all;
  for (const std::string& line : logLines()) all += std::regex_replace(line, varying, "#") + "\n";
  tarvine::test::expectGolden(all, "serve/request-log.txt");
}

}  // namespace
}  // namespace tarvine::serve::test
