#include <gtest/gtest.h>

#include "StatementParser.h"

namespace tarvine::serve {
namespace {

struct AcceptedCase {
  const char* text;
  OrderStatement expected;
};

std::ostream& operator<<(std::ostream& out, const AcceptedCase& c) {
  return out << c.text;
}

bool operator==(const SegmentAssignment& a, const SegmentAssignment& b) {
  return a.loadId == b.loadId && a.freightCents == b.freightCents && a.centerId == b.centerId &&
         a.orderId == b.orderId && a.segment == b.segment;
}

bool operator==(const ProgressEntry& a, const ProgressEntry& b) {
  return a.code == b.code && a.orderId == b.orderId && a.segment == b.segment &&
         a.personId == b.personId && a.personTypeId == b.personTypeId;
}

class AcceptedStatement : public ::testing::TestWithParam<AcceptedCase> {};

TEST_P(AcceptedStatement, ParsesToItsValues) {
  const auto parsed = parseOrderStatement(GetParam().text);
  ASSERT_TRUE(parsed.has_value());
  ASSERT_EQ(parsed->index(), GetParam().expected.index());
  if (const auto* assignment = std::get_if<SegmentAssignment>(&*parsed)) {
    EXPECT_TRUE(*assignment == std::get<SegmentAssignment>(GetParam().expected));
  } else {
    EXPECT_TRUE(std::get<ProgressEntry>(*parsed) == std::get<ProgressEntry>(GetParam().expected));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, AcceptedStatement,
    ::testing::Values(
        AcceptedCase{
            "Update VOZA_OrderHeader Set VOZA_OrderHeader.OutgoingLoad = 5001, Freight = "
            "125.00  Where CenterID = 12 and OrderID = '12-34567' and VOZA_OrderSegment = 1",
            SegmentAssignment{5001, 12500, 12, "12-34567", 1}},
        AcceptedCase{"Update VOZA_OrderHeader Set VOZA_OrderHeader.OutgoingLoad = Null, Freight = "
                     "0.00 Where CenterID = 15 and OrderID = '15-20001' and VOZA_OrderSegment = 2",
                     SegmentAssignment{std::nullopt, 0, 15, "15-20001", 2}},
        AcceptedCase{"EXECUTE spVOZAOrderProgressHistoryOutgoingLoadAdd 2, '12-34567',1,7,2",
                     ProgressEntry{2, "12-34567", 1, 7, 2}},
        AcceptedCase{"EXECUTE spVOZAOrderProgressHistoryOutgoingLoadAdd 5, '15-20001',2,7,2",
                     ProgressEntry{5, "15-20001", 2, 7, 2}},
        // Keywords in any case, runs of blanks, blanks around "=" and "," optional.
        AcceptedCase{"  update   voza_orderheader SET voza_orderheader.outgoingload=5001 ,freight="
                     "99.5   WHERE centerid=12   AND orderid='12-1'   AND voza_ordersegment=3  ",
                     SegmentAssignment{5001, 9950, 12, "12-1", 3}},
        AcceptedCase{"execute   SPVOZAORDERPROGRESSHISTORYOUTGOINGLOADADD   5 , '1-2' , 1 , -1 , 0",
                     ProgressEntry{5, "1-2", 1, -1, 0}},
        // Doubled quotes inside a text, a negative freight and the null load in any case.
        AcceptedCase{"Update VOZA_OrderHeader Set VOZA_OrderHeader.OutgoingLoad = NULL, Freight = "
                     "-1 Where CenterID = 12 and OrderID = '12-3''4' and VOZA_OrderSegment = 1",
                     SegmentAssignment{std::nullopt, -100, 12, "12-3'4", 1}},
        AcceptedCase{"Update VOZA_OrderHeader Set VOZA_OrderHeader.OutgoingLoad = 7, Freight = "
                     "1234.755 Where CenterID = 1 and OrderID = '''' and VOZA_OrderSegment = 1",
                     SegmentAssignment{7, 123476, 1, "'", 1}}));

struct RejectedCase {
  const char* why;
  std::string text;
};

std::ostream& operator<<(std::ostream& out, const RejectedCase& c) {
  return out << c.why;
}

class RejectedStatement : public ::testing::TestWithParam<RejectedCase> {};

TEST_P(RejectedStatement, ThrowsSyntaxError) {
  EXPECT_THROW(parseOrderStatement(GetParam().text), StatementSyntaxError);
}

const std::string kHead =
    "Update VOZA_OrderHeader Set VOZA_OrderHeader.OutgoingLoad = 5001, Freight = ";
const std::string kWhere = " Where CenterID = 12 and OrderID = '12-1' and VOZA_OrderSegment = 1";
const std::string kExec = "EXECUTE spVOZAOrderProgressHistoryOutgoingLoadAdd ";

INSTANTIATE_TEST_SUITE_P(
    NotAccepted, RejectedStatement,
    ::testing::Values(
        RejectedCase{"grouping", kHead + "1,234.50" + kWhere},
        RejectedCase{"trailing junk", kHead + "1.50" + kWhere + " x"},
        RejectedCase{"second statement", kExec + "2, '12-1',1,7,2; DELETE FROM VOZA_OrderHeader"},
        RejectedCase{"missing quote", kExec + "2, '12-1,1,7,2"},
        RejectedCase{"comment", kHead + "1.50" + kWhere + " -- and more"},
        RejectedCase{"comment inside", kHead + "1.50 --Where"},
        RejectedCase{"undoubled quote", kHead + "1.50 Where CenterID = 12 and OrderID = '12-3'4' "
                                                "and VOZA_OrderSegment = 1"},
        RejectedCase{"or instead of and", kHead + "1.50 Where CenterID = 12 or OrderID = '12-1' "
                                                  "and VOZA_OrderSegment = 1"},
        RejectedCase{"words run together", kHead + "1.50 Where CenterID = 12and OrderID = '12-1' "
                                                   "and VOZA_OrderSegment = 1"},
        RejectedCase{"decimal segment", kExec + "2, '12-1',1.5,7,2"},
        RejectedCase{"unknown progress code", kExec + "3, '12-1',1,7,2"},
        RejectedCase{"other table",
                     "Update Center Set VOZA_OrderHeader.OutgoingLoad = 5001, "
                     "Freight = 1" +
                         kWhere},
        RejectedCase{"other statement", "DELETE FROM VOZA_OrderHeader"},
        RejectedCase{"blanks only", "   "},
        RejectedCase{"point without digits", kExec + "2, '1',1.,7,2"},
        RejectedCase{"exponent", kHead + "1e3" + kWhere},
        RejectedCase{"out of range", kExec + "2, '1',99999999999,7,2"},
        RejectedCase{"tab between tokens",
                     "EXECUTE\tspVOZAOrderProgressHistoryOutgoingLoadAdd "
                     "2, '1',1,7,2"},
        RejectedCase{"parenthesis", kExec + "(2, '1',1,7,2)"}));

TEST(StatementParser, SkipsTheEmptyText) {
  EXPECT_FALSE(parseOrderStatement("").has_value());
}

TEST(StatementParser, SaysWhereTheTextWentWrong) {
  try {
    parseOrderStatement(kHead + "1,234.50 Where");
    FAIL() << "accepted";
  } catch (const StatementSyntaxError& error) {
    EXPECT_STREQ(error.what(), "expected Where at column 78");
  }
}

}  // namespace
}  // namespace tarvine::serve
