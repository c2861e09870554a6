#include <gtest/gtest.h>

#include "ServeFixture.h"

namespace tarvine::serve::test {
namespace {

class AddAstrayPO : public ServeFixture {
 protected:
  HttpReply add(const std::string& order, int segment, int load = 5001,
                const std::string& freight = "42.5") {
    return call("AddAstrayPO",
                operationBody("AddAstrayPO", {{"OrderID", order},
                                              {"OrderSegment", std::to_string(segment)},
                                              {"Freight", freight},
                                              {"Cartons", "6"},
                                              {"OutgoingLoadID", std::to_string(load)},
                                              {"Comment", "behind the door & wet"}}));
  }
};

TEST_F(AddAstrayPO, AddsTheNextSegmentThatTheLoadThenLists) {
  const HttpReply reply = add("27-70460", 3);
  ASSERT_EQ(reply.status, 200) << reply.body;
  EXPECT_NE(reply.body.find("<AddAstrayPOResponse xmlns=\"" + std::string(kNamespace) + "\" />"),
            std::string::npos);
  std::vector<Row> added;
  for (const Row& row : allOrders(5001)) {
    if (row["OrderID"] == "27-70460") added.push_back(row);
  }
  ASSERT_EQ(added.size(), 1u) << "only the astray segment is on this load";
  for (const auto& [column, value] : {std::pair{"VOZA_OrderSegment", "4"},
                                      {"OutgoingLoad", "5001"},
                                      {"NumberParcels", "6"},
                                      {"Freight", "42.5"},
                                      {"OverrideFreightIndicator", "true"},
                                      {"CenterID", "27"}}) {
    EXPECT_EQ(added[0][column], value) << column;
  }
  EXPECT_EQ(count("SELECT COUNT(*) FROM VOZA_OrderHeader WHERE OrderID = '27-70460' AND "
                  "VOZA_OrderSegment = 4 AND Comment = 'behind the door & wet'"),
            1);
}

// A P.O. that cannot be added is answered with a client fault and adds nothing.
TEST_F(AddAstrayPO, RefusesWhatCannotBeAddedWithAClientFault) {
  const std::string before = snapshot();
  const std::tuple<const char*, const char*, int, int, const char*, const char*> cases[] = {
      {"not received", "27-99999", 1, 5001, "1", "has not been received"},
      {"unknown load", "27-70460", 3, 4242, "1", "load 4242 does not exist"},
      {"next segment exists", "27-70460", 2, 5001, "1", "segment 3 of order"},
      {"segment never sent", "27-70460", 7, 5001, "1", "there is no segment 7"},
      {"grouped freight", "27-70460", 3, 5001, "1,000.00", "Freight"}};
  for (const auto& [why, order, segment, load, freight, faultPart] : cases) {
    SCOPED_TRACE(why);
    expectClientFault(add(order, segment, load, freight), faultPart);
    EXPECT_EQ(snapshot(), before);
  }
}

}  // namespace
}  // namespace tarvine::serve::test
