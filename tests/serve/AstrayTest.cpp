#include <gtest/gtest.h>

#include "ServeFixture.h"

namespace tarvine::serve::test {
namespace {

class AddAstrayPO : public ServeFixture {
 protected:
  HttpReply add(const std::string& order, int segment, int load = 5001) {
    return call("AddAstrayPO",
                astrayBody(order, segment, "42.5", 6, load, "found behind the dock door & wet"));
  }
};

TEST_F(AddAstrayPO, AddsTheNextSegmentThatTheLoadThenLists) {
  const HttpReply reply = add("27-70460", 3);
  ASSERT_EQ(reply.status, 200) << reply.body;
  EXPECT_NE(reply.body.find("<AddAstrayPOResponse xmlns=\"" + std::string(kNamespace) + "\" />"),
            std::string::npos);

  const std::vector<Row> rows = allOrders(5001);
  const Row* added = nullptr;
  for (const Row& row : rows) {
    if (row["OrderID"] == "27-70460") {
      EXPECT_EQ(added, nullptr) << "only the astray segment is on this load";
      added = &row;
    }
  }
  ASSERT_NE(added, nullptr);
  EXPECT_EQ((*added)["VOZA_OrderSegment"], "4");
  EXPECT_EQ((*added)["OutgoingLoad"], "5001");
  EXPECT_EQ((*added)["NumberParcels"], "6");
  EXPECT_EQ((*added)["Freight"], "42.5");
  EXPECT_EQ((*added)["OverrideFreightIndicator"], "true");
  EXPECT_EQ((*added)["CenterID"], "27");
  EXPECT_EQ(count("SELECT COUNT(*) FROM VOZA_OrderHeader WHERE OrderID = '27-70460' AND "
                  "VOZA_OrderSegment = 4 AND Comment = 'found behind the dock door & wet'"),
            1);
}

struct RefusedAstray {
  const char* why;
  const char* order;
  int segment;
  int load;
  const char* faultPart;
};

std::ostream& operator<<(std::ostream& out, const RefusedAstray& c) {
  return out << c.why;
}

class AddAstrayPORefused : public AddAstrayPO,
                           public ::testing::WithParamInterface<RefusedAstray> {};

TEST_P(AddAstrayPORefused, AnswersAClientFaultAndAddsNothing) {
  const std::string before = snapshot();
  const HttpReply reply = add(GetParam().order, GetParam().segment, GetParam().load);
  EXPECT_EQ(reply.status, 500);
  const auto [code, message] = faultOf(reply.body);
  EXPECT_EQ(code, "soap:Client");
  EXPECT_NE(message.find(GetParam().faultPart), std::string::npos) << message;
  EXPECT_EQ(snapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddAstrayPORefused,
    ::testing::Values(
        RefusedAstray{"not received", "27-99999", 1, 5001, "has not been received"},
        RefusedAstray{"unknown load", "27-70460", 3, 4242, "load 4242 does not exist"},
        RefusedAstray{"next segment exists", "27-70460", 2, 5001, "segment 3 of order"},
        RefusedAstray{"segment never sent", "27-70460", 7, 5001, "there is no segment 7"}));

TEST_F(AddAstrayPO, RefusesAFreightThatIsNotAPlainNumber) {
  const HttpReply reply = call("AddAstrayPO", astrayBody("27-70460", 3, "1,000.00", 6, 5001, ""));
  EXPECT_EQ(reply.status, 500);
  EXPECT_NE(faultOf(reply.body).second.find("Freight"), std::string::npos);
}

}  // namespace
}  // namespace tarvine::serve::test
