#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ServeFixture.h"

namespace tarvine::serve::test {
namespace {

std::string putOnLoad(int load, const std::string& freight, int center, const std::string& order,
                      int segment) {
  return "Update VOZA_OrderHeader Set VOZA_OrderHeader.OutgoingLoad = " + std::to_string(load) +
         ", Freight = " + freight + "  Where CenterID = " + std::to_string(center) +
         " and OrderID = '" + order + "' and VOZA_OrderSegment = " + std::to_string(segment);
}

std::string takeOff(const std::string& freight, int center, const std::string& order, int segment) {
  return "Update VOZA_OrderHeader Set VOZA_OrderHeader.OutgoingLoad = Null, Freight = " + freight +
         " Where CenterID = " + std::to_string(center) + " and OrderID = '" + order +
         "' and VOZA_OrderSegment = " + std::to_string(segment);
}

std::string history(int code, const std::string& order, int segment) {
  return "EXECUTE spVOZAOrderProgressHistoryOutgoingLoadAdd " + std::to_string(code) + ", '" +
         order + "'," + std::to_string(segment) + ",7,2";
}

const std::string kEmptyUpdateReply =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
    "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><soap:Body><UpdateOutgoingLoadOrderResponse "
    "xmlns=\"http://tarvine.example/VOZARouteLocations/Service1\" /></soap:Body></soap:Envelope>";

class UpdateOperations : public ServeFixture {
 protected:
  HttpReply save(const std::vector<std::string>& statements) {
    return call("UpdateOutgoingLoadOrder", updateBody(statements));
  }
  std::string loadOf(const std::string& order, int segment) {
    Statement& query = db().prepare(
        "SELECT COALESCE(OutgoingLoad, 'none') || ' ' || COALESCE(Freight, 'none')"
        " FROM VOZA_OrderHeader WHERE OrderID = ?1 AND VOZA_OrderSegment = ?2");
    query.bind(1, order).bind(2, std::int64_t{segment});
    std::string value = query.step() ? std::string(query.text(0)) : "missing";
    query.reset();
    return value;
  }
};

TEST_F(UpdateOperations, AppliesTheWholeBatchAndAnswersAnEmptyResponse) {
  const HttpReply reply =
      save({putOnLoad(5001, "125.00", 12, "12-34567", 1), takeOff("0.00", 15, "15-20001", 2),
            history(2, "12-34567", 1), history(5, "15-20001", 2), ""});
  EXPECT_EQ(reply.status, 200);
  EXPECT_EQ(reply.body, kEmptyUpdateReply);
  EXPECT_EQ(loadOf("12-34567", 1), "5001 125.0");
  EXPECT_EQ(loadOf("15-20001", 2), "none 0.0");
  EXPECT_EQ(count("SELECT COUNT(*) FROM VOZA_OrderProgressHistory WHERE (ProgressCode = 2 AND "
                  "OrderID = '12-34567' AND VOZA_OrderSegment = 1 AND PersonID = 7 AND "
                  "PersonTypeID = 2) OR (ProgressCode = 5 AND OrderID = '15-20001')"),
            2);

  // The log names who saved what, in both formats.
  const RequestRecord record = records().back();
  EXPECT_NE(formatRecord(record, LogFormat::Text)
                .find(" 127.0.0.1 UpdateOutgoingLoadOrder load 5001 person 7 type 2, 4 statements:"
                      " ok, "),
            std::string::npos)
      << formatRecord(record, LogFormat::Text);
  auto json = nlohmann::json::parse(formatRecord(record, LogFormat::Json));
  EXPECT_TRUE(json["duration_ms"].is_number_integer());
  EXPECT_EQ(json["time"], isoTime(record.time));
  json.erase("duration_ms");
  json.erase("time");
  EXPECT_EQ(json.dump(),
            R"({"client":"127.0.0.1","load":"5001","operation":"UpdateOutgoingLoadOrder",)"
            R"("outcome":"ok","person":7,"person_type":2,"statements":4,"status":200})");
}

TEST_F(UpdateOperations, AnArrayOfOnlyTheEmptyStringChangesNothing) {
  const std::string before = snapshot();
  EXPECT_EQ(save({""}).status, 200);
  EXPECT_EQ(snapshot(), before);
}

// A batch with any statement the service cannot take changes nothing and says which string.
TEST_F(UpdateOperations, RefusesAWrongBatchWholeWithAClientFault) {
  const std::string before = snapshot();
  const std::tuple<const char*, std::vector<std::string>, const char*> cases[] = {
      {"grouped freight",
       {putOnLoad(5001, "125.00", 12, "12-34567", 1), history(2, "12-34567", 1),
        putOnLoad(5001, "1,234.50", 12, "12-34567", 2), ""},
       "string 3 is not an accepted statement"},
      {"no such segment",
       {putOnLoad(5001, "125.00", 12, "12-34567", 1), putOnLoad(5001, "1.00", 12, "12-34567", 9)},
       "string 2: there is no segment 9"},
      {"wrong center", {putOnLoad(5001, "1.00", 15, "12-34567", 1)}, "at center 15"},
      {"no such load", {putOnLoad(4242, "1.00", 12, "12-34567", 1)}, "load 4242 does not exist"},
      {"history of no segment",
       {putOnLoad(5001, "125.00", 12, "12-34567", 1), history(2, "12-99999", 1)},
       "string 2: there is no segment 1"},
      {"second statement after a semicolon",
       {history(2, "12-34567", 1) + "; DELETE FROM VOZA_OrderHeader"},
       "string 1 is not an accepted statement"},
      {"injection through an undoubled quote",
       {putOnLoad(5001, "1.00", 12, "12-34567' or '1'='1", 1)},
       "string 1 is not an accepted statement"},
      {"injection inside a doubled quote",
       {putOnLoad(5001, "125.00", 12, "12-34567", 1),
        takeOff("0.00", 12, "12-34567''; DELETE FROM VOZA_OrderHeader; --", 1)},
       "string 2: there is no segment 1 of order \"12-34567'; DELETE"}};
  for (const auto& [why, statements, faultPart] : cases) {
    SCOPED_TRACE(why);
    expectClientFault(save(statements), faultPart);
    EXPECT_EQ(snapshot(), before);
  }
}

TEST_F(UpdateOperations, DoubledQuoteInAnOrderIdMatchesThatOrderOnly) {
  db().execute(
      "INSERT INTO VOZA_OrderHeader (CenterID, OrderID, VOZA_OrderSegment, FacilityID, LoadDate,"
      " NumberParcels, FactoryWeight, CubicFeet, FreightCost, Freight, MinimumCharge, TotalRate,"
      " TotalSuggestedFreight) VALUES"
      " (12, '12-3''4', 1, 'DEMO', '2026-11-20', 3, 100, 10, 5, 0, 45, 14, 45),"
      " (12, '12-3', 1, 'DEMO', '2026-11-20', 3, 100, 10, 5, 0, 45, 14, 45),"
      " (12, '12-34', 1, 'DEMO', '2026-11-20', 3, 100, 10, 5, 0, 45, 14, 45)");
  EXPECT_EQ(save({putOnLoad(5001, "50.00", 12, "12-3''4", 1), history(2, "12-3''4", 1)}).status,
            200);
  EXPECT_EQ(loadOf("12-3'4", 1), "5001 50.0");
  EXPECT_EQ(loadOf("12-3", 1), "none 0.0");
  EXPECT_EQ(loadOf("12-34", 1), "none 0.0");
  EXPECT_EQ(count("SELECT COUNT(*) FROM VOZA_OrderProgressHistory WHERE OrderID = '12-3''4'"), 1);
}

}  // namespace
}  // namespace tarvine::serve::test
