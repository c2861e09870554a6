#include "service/Unwrap.h"

#include <gtest/gtest.h>

#include "ServiceReplies.h"

namespace tarvine::service {
namespace {

using test::dataSetText;
using test::transportResult;
using test::unwrappedReply;

// Each query's unwrapping removes its own operation's wrapping only.
TEST(UnwrapResponse, LeavesDeclarationAndDataSet) {
  const std::string dataSet = dataSetText({{{"CenterID", "12"}}});
  const std::string other = transportResult("GetSomethingElse", dataSet);
  for (const char* op :
       {"GetOutgoingLoadAllOrders", "GetOutgoingLoadBasicTotal", "GetOutgoingLoadCenterIDAndCenter",
        "GetOutgoingLoadDescriptionRoute", "IsPOFound"}) {
    SCOPED_TRACE(op);
    EXPECT_EQ(unwrapResponse(transportResult(op, dataSet), op), unwrappedReply(dataSet));
    EXPECT_EQ(unwrapResponse("", op), "");
    EXPECT_EQ(unwrapResponse(other, op), other);
  }
}

TEST(UnwrapResponse, TagsWrittenDifferentlyStay) {
  const std::string ns(test::kTestRouteNamespace);
  // Other attribute order, an extra attribute, another prefix and an empty result element.
  const std::string reply = "<IsPOFoundResponse xmlns:a=\"x\" xmlns=\"" + ns +
                            "\"><IsPOFoundResult/></IsPOFoundResponse><r:IsPOFoundResult>"
                            "</r:IsPOFoundResult>";
  EXPECT_EQ(unwrapResponse(reply, "IsPOFound"), "<IsPOFoundResponse xmlns:a=\"x\" xmlns=\"" + ns +
                                                    "\"><IsPOFoundResult/><r:IsPOFoundResult>"
                                                    "</r:IsPOFoundResult>");
}

TEST(UnwrapResponse, RemovesEveryOccurrenceInOrder) {
  const std::string block = transportResult("IsPOFound", "<x/>");
  EXPECT_EQ(unwrapResponse(block + block, "IsPOFound"),
            unwrappedReply("<x/>") + unwrappedReply("<x/>"));
  // The removals run one after the other: a result start tag that a later removal joins
  // together stays, one that an earlier removal joins is removed.
  EXPECT_EQ(unwrapResponse("<IsPOFound</IsPOFoundResult>Result>", "IsPOFound"),
            "<IsPOFoundResult>");
  EXPECT_EQ(unwrapResponse("</IsPOFound<IsPOFoundResult>Result>", "IsPOFound"), "");
}

}  // namespace
}  // namespace tarvine::service
