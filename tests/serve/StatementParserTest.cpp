// Each statement text and what the parser makes of it: its values, or why and where it is
// refused (tests/golden/serve/statements.txt).

#include <gtest/gtest.h>

#include "Golden.h"
#include "StatementParser.h"

namespace tarvine::serve {
namespace {

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

TEST(StatementParser, ReadsTheAcceptedShapesAndRefusesEverythingElse) {
  const std::string head =
      "Update VOZA_OrderHeader Set VOZA_OrderHeader.OutgoingLoad = 5001, Freight = ";
  const std::string where = " Where CenterID = 12 and OrderID = '12-1' and VOZA_OrderSegment = 1";
  const std::string exec = "EXECUTE spVOZAOrderProgressHistoryOutgoingLoadAdd ";
  const std::string texts[] = {
      head + "125.00  Where CenterID = 12 and OrderID = '12-34567' and VOZA_OrderSegment = 1",
      "Update VOZA_OrderHeader Set VOZA_OrderHeader.OutgoingLoad = Null, Freight = 0.00 Where "
      "CenterID = 15 and OrderID = '15-20001' and VOZA_OrderSegment = 2",
      exec + "2, '12-34567',1,7,2", exec + "5, '15-20001',2,7,2",
      // Keywords in any case, runs of blanks, blanks around "=" and "," optional.
      "  update   voza_orderheader SET voza_orderheader.outgoingload=5001 ,freight=99.5   WHERE "
      "centerid=12   AND orderid='12-1'   AND voza_ordersegment=3  ",
      "execute   SPVOZAORDERPROGRESSHISTORYOUTGOINGLOADADD   5 , '1-2' , 1 , -1 , 0",
      // Doubled quotes inside a text, a negative freight and the null load in any case.
      "Update VOZA_OrderHeader Set VOZA_OrderHeader.OutgoingLoad = NULL, Freight = -1 Where "
      "CenterID = 12 and OrderID = '12-3''4' and VOZA_OrderSegment = 1",
      "Update VOZA_OrderHeader Set VOZA_OrderHeader.OutgoingLoad = 7, Freight = 1234.755 Where "
      "CenterID = 1 and OrderID = '''' and VOZA_OrderSegment = 1",
      "", head + "1,234.50" + where, head + "1.50" + where + " x",
      exec + "2, '12-1',1,7,2; DELETE FROM VOZA_OrderHeader", exec + "2, '12-1,1,7,2",
      head + "1.50" + where + " -- and more", head + "1.50 --Where",
      head + "1.50 Where CenterID = 12 and OrderID = '12-3'4' and VOZA_OrderSegment = 1",
      head + "1.50 Where CenterID = 12 or OrderID = '12-1' and VOZA_OrderSegment = 1",
      head + "1.50 Where CenterID = 12and OrderID = '12-1' and VOZA_OrderSegment = 1",
      exec + "2, '12-1',1.5,7,2", exec + "3, '12-1',1,7,2",
      "Update Center Set VOZA_OrderHeader.OutgoingLoad = 5001, Freight = 1" + where,
      "DELETE FROM VOZA_OrderHeader", "   ", exec + "2, '1',1.,7,2", head + "1e3" + where,
      exec + "2, '1',99999999999,7,2",
      "EXECUTE\tspVOZAOrderProgressHistoryOutgoingLoadAdd 2, '1',1,7,2", exec + "(2, '1',1,7,2)"};
  std::string transcript;
  for (const std::string& text : texts) {
    transcript += text + "\n  ";
    try {
      const auto parsed = parseOrderStatement(text);
      transcript += parsed ? described(*parsed) : "nothing";
    } catch (const StatementSyntaxError& error) {
      transcript += std::string("refused: ") + error.what();
    }
    transcript += "\n";
  }
  tarvine::test::expectGolden(transcript, "serve/statements.txt");
}

}  // namespace
}  // namespace tarvine::serve
