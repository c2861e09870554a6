#include <gtest/gtest.h>

#include "StatementParser.h"

namespace tarvine::serve {
namespace {

// A parsed statement as text: "load <id|null> cents <n> center <n> order <id> segment <n>" or
// "progress <code> order <id> segment <n> person <n> type <n>".
std::string described(const OrderStatement& statement) {
  if (const auto* a = std::get_if<SegmentAssignment>(&statement)) {
    return "load " + (a->loadId ? std::to_string(*a->loadId) : "null") + " cents " +
           std::to_string(a->freightCents) + " center " + std::to_string(a->centerId) + " order " +
           a->orderId + " segment " + std::to_string(a->segment);
  }
  const auto& p = std::get<ProgressEntry>(statement);
  return "progress " + std::to_string(p.code) + " order " + p.orderId + " segment " +
         std::to_string(p.segment) + " person " + std::to_string(p.personId) + " type " +
         std::to_string(p.personTypeId);
}

TEST(StatementParser, ParsesTheAcceptedShapesToTheirValues) {
  const std::pair<const char*, const char*> cases[] = {
      {"Update VOZA_OrderHeader Set VOZA_OrderHeader.OutgoingLoad = 5001, Freight = "
       "125.00  Where CenterID = 12 and OrderID = '12-34567' and VOZA_OrderSegment = 1",
       "load 5001 cents 12500 center 12 order 12-34567 segment 1"},
      {"Update VOZA_OrderHeader Set VOZA_OrderHeader.OutgoingLoad = Null, Freight = "
       "0.00 Where CenterID = 15 and OrderID = '15-20001' and VOZA_OrderSegment = 2",
       "load null cents 0 center 15 order 15-20001 segment 2"},
      {"EXECUTE spVOZAOrderProgressHistoryOutgoingLoadAdd 2, '12-34567',1,7,2",
       "progress 2 order 12-34567 segment 1 person 7 type 2"},
      {"EXECUTE spVOZAOrderProgressHistoryOutgoingLoadAdd 5, '15-20001',2,7,2",
       "progress 5 order 15-20001 segment 2 person 7 type 2"},
      // Keywords in any case, runs of blanks, blanks around "=" and "," optional.
      {"  update   voza_orderheader SET voza_orderheader.outgoingload=5001 ,freight="
       "99.5   WHERE centerid=12   AND orderid='12-1'   AND voza_ordersegment=3  ",
       "load 5001 cents 9950 center 12 order 12-1 segment 3"},
      {"execute   SPVOZAORDERPROGRESSHISTORYOUTGOINGLOADADD   5 , '1-2' , 1 , -1 , 0",
       "progress 5 order 1-2 segment 1 person -1 type 0"},
      // Doubled quotes inside a text, a negative freight and the null load in any case.
      {"Update VOZA_OrderHeader Set VOZA_OrderHeader.OutgoingLoad = NULL, Freight = "
       "-1 Where CenterID = 12 and OrderID = '12-3''4' and VOZA_OrderSegment = 1",
       "load null cents -100 center 12 order 12-3'4 segment 1"},
      {"Update VOZA_OrderHeader Set VOZA_OrderHeader.OutgoingLoad = 7, Freight = "
       "1234.755 Where CenterID = 1 and OrderID = '''' and VOZA_OrderSegment = 1",
       "load 7 cents 123476 center 1 order ' segment 1"}};
  for (const auto& [text, expected] : cases) {
    const auto parsed = parseOrderStatement(text);
    ASSERT_TRUE(parsed.has_value()) << text;
    EXPECT_EQ(described(*parsed), expected);
  }
  EXPECT_FALSE(parseOrderStatement("").has_value());
}

const std::string kHead =
    "Update VOZA_OrderHeader Set VOZA_OrderHeader.OutgoingLoad = 5001, Freight = ";
const std::string kWhere = " Where CenterID = 12 and OrderID = '12-1' and VOZA_OrderSegment = 1";
const std::string kExec = "EXECUTE spVOZAOrderProgressHistoryOutgoingLoadAdd ";

TEST(StatementParser, RefusesEverythingElse) {
  const std::pair<const char*, std::string> rejected[] = {
      {"grouping", kHead + "1,234.50" + kWhere},
      {"trailing junk", kHead + "1.50" + kWhere + " x"},
      {"second statement", kExec + "2, '12-1',1,7,2; DELETE FROM VOZA_OrderHeader"},
      {"missing quote", kExec + "2, '12-1,1,7,2"},
      {"comment", kHead + "1.50" + kWhere + " -- and more"},
      {"comment inside", kHead + "1.50 --Where"},
      {"undoubled quote", kHead + "1.50 Where CenterID = 12 and OrderID = '12-3'4' "
                                  "and VOZA_OrderSegment = 1"},
      {"or instead of and", kHead + "1.50 Where CenterID = 12 or OrderID = '12-1' "
                                    "and VOZA_OrderSegment = 1"},
      {"words run together", kHead + "1.50 Where CenterID = 12and OrderID = '12-1' "
                                     "and VOZA_OrderSegment = 1"},
      {"decimal segment", kExec + "2, '12-1',1.5,7,2"},
      {"unknown progress code", kExec + "3, '12-1',1,7,2"},
      {"other table",
       "Update Center Set VOZA_OrderHeader.OutgoingLoad = 5001, "
       "Freight = 1" +
           kWhere},
      {"other statement", "DELETE FROM VOZA_OrderHeader"},
      {"blanks only", "   "},
      {"point without digits", kExec + "2, '1',1.,7,2"},
      {"exponent", kHead + "1e3" + kWhere},
      {"out of range", kExec + "2, '1',99999999999,7,2"},
      {"tab between tokens",
       "EXECUTE\tspVOZAOrderProgressHistoryOutgoingLoadAdd "
       "2, '1',1,7,2"},
      {"parenthesis", kExec + "(2, '1',1,7,2)"}};
  for (const auto& [why, text] : rejected) {
    EXPECT_THROW(parseOrderStatement(text), StatementSyntaxError) << why;
  }
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
