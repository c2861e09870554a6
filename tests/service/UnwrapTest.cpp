#include "service/Unwrap.h"

#include <gtest/gtest.h>

#include "ServiceReplies.h"

namespace tarvine::service {
namespace {

using test::dataSetText;
using test::transportResult;
using test::unwrappedReply;

struct UnwrapCase {
  const char* op;
  std::string (*unwrap)(std::string_view);
};

void PrintTo(const UnwrapCase& unwrap, std::ostream* out) {
  *out << unwrap.op;
}

class Unwrapper : public ::testing::TestWithParam<UnwrapCase> {};

// Each unwrapper removes its own operation's wrapping only.
TEST_P(Unwrapper, LeavesDeclarationAndDataSet) {
  const std::string dataSet = dataSetText({{{"CenterID", "12"}}});
  EXPECT_EQ(GetParam().unwrap(transportResult(GetParam().op, dataSet)), unwrappedReply(dataSet));
  EXPECT_EQ(GetParam().unwrap(""), "");
  const std::string other = transportResult("GetSomethingElse", dataSet);
  EXPECT_EQ(GetParam().unwrap(other), other);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, Unwrapper,
    ::testing::Values(
        UnwrapCase{"GetOutgoingLoadAllOrders", UnwrapGetOutgoingLoadAllOrders},
        UnwrapCase{"GetOutgoingLoadBasicTotal", UnwrapGetOutgoingLoadBasicTotal},
        UnwrapCase{"GetOutgoingLoadCenterIDAndCenter", UnwrapGetOutgoingLoadCenterIDAndCenter},
        UnwrapCase{"GetOutgoingLoadDescriptionRoute", UnwrapGetOutgoingLoadDescriptionRoute},
        UnwrapCase{"IsPOFound", UnwrapIsPOFound}),
    [](const auto& info) { return std::string(info.param.op); });

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
