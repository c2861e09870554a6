#include "service/Unwrap.h"

#include <gtest/gtest.h>

#include "ServiceReplies.h"

namespace tarvine::service {
namespace {

using test::dataSetText;
using test::transportResult;
using test::unwrappedReply;

// Each unwrapper removes its own operation's wrapping only.
TEST(UnwrapResponse, LeavesDeclarationAndDataSet) {
  const std::pair<const char*, std::string (*)(std::string_view)> unwrappers[] = {
      {"GetOutgoingLoadAllOrders", UnwrapGetOutgoingLoadAllOrders},
      {"GetOutgoingLoadBasicTotal", UnwrapGetOutgoingLoadBasicTotal},
      {"GetOutgoingLoadCenterIDAndCenter", UnwrapGetOutgoingLoadCenterIDAndCenter},
      {"GetOutgoingLoadDescriptionRoute", UnwrapGetOutgoingLoadDescriptionRoute},
      {"IsPOFound", UnwrapIsPOFound}};
  const std::string dataSet = dataSetText({{{"CenterID", "12"}}});
  const std::string other = transportResult("GetSomethingElse", dataSet);
  for (const auto& [op, unwrap] : unwrappers) {
    SCOPED_TRACE(op);
    EXPECT_EQ(unwrap(transportResult(op, dataSet)), unwrappedReply(dataSet));
    EXPECT_EQ(unwrap(""), "");
    EXPECT_EQ(unwrap(other), other);
  }
}

TEST(UnwrapResponse, TagsWrittenDifferentlyStay) {
  const std::string ns(test::kTestRouteNamespace);
  // Other attribute order, an extra attribute, another prefix and an empty result element.
  const std::string reply = "<IsPOFoundResponse xmlns:a=\"x\" xmlns=\"" + ns +
                            "\"><IsPOFoundResult/></IsPOFoundResponse><r:IsPOFoundResult>"
                            "</r:IsPOFoundResult>";
  EXPECT_EQ(UnwrapIsPOFound(reply), "<IsPOFoundResponse xmlns:a=\"x\" xmlns=\"" + ns +
                                        "\"><IsPOFoundResult/><r:IsPOFoundResult>"
                                        "</r:IsPOFoundResult>");
}

TEST(UnwrapResponse, RemovesEveryOccurrenceInOrder) {
  const std::string block = transportResult("IsPOFound", "<x/>");
  EXPECT_EQ(UnwrapIsPOFound(block + block), unwrappedReply("<x/>") + unwrappedReply("<x/>"));
  // The removals run one after the other: a result start tag that a later removal joins
  // together stays, one that an earlier removal joins is removed.
  EXPECT_EQ(UnwrapIsPOFound("<IsPOFound</IsPOFoundResult>Result>"), "<IsPOFoundResult>");
  EXPECT_EQ(UnwrapIsPOFound("</IsPOFound<IsPOFoundResult>Result>"), "");
}

}  // namespace
}  // namespace tarvine::service
