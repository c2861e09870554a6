#include "save/Statements.h"

#include "platform/Convert.h"
#include "platform/RuntimeError.h"
#include "platform/Text.h"

namespace tarvine {

std::string quotedOrderID(std::string_view orderID) {
  // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) about "'" + string at -O3.
  std::string quoted = "'";
  quoted += text::replaceAll(orderID, "'", "''");
  quoted += '\'';
  return quoted;
}

std::string plainFreight(std::string_view freightText) {
  return text::replaceAll(freightText, ",", "");
}

std::string updateStatement(bool checked, std::int32_t loadID, std::string_view freightText,
                            std::int32_t centerID, std::string_view orderID,
                            std::string_view segmentText) {
  std::string sql = "Update VOZA_OrderHeader Set VOZA_OrderHeader.OutgoingLoad = ";
  sql += checked ? convert::integerText(loadID) : std::string("Null");
  sql += ", Freight = ";
  sql += plainFreight(freightText);
  // The checked form ends its freight with a blank: two blanks stand before Where.
  if (checked) sql += ' ';
  sql += " Where CenterID = ";
  sql += convert::integerText(centerID);
  sql += " and OrderID = ";
  sql += quotedOrderID(orderID);
  sql += " and VOZA_OrderSegment = ";
  sql += segmentText;
  return sql;
}

std::string historyStatement(int code, std::string_view orderID, std::int16_t segment,
                             std::int16_t personID, std::int16_t personTypeID) {
  std::string sql = "EXECUTE spVOZAOrderProgressHistoryOutgoingLoadAdd ";
  sql += convert::integerText(code);
  sql += ", ";
  sql += quotedOrderID(orderID);
  sql += ',';
  sql += convert::integerText(segment);
  sql += ',';
  sql += convert::integerText(personID);
  sql += ',';
  sql += convert::integerText(personTypeID);
  return sql;
}

std::int32_t centerIDOfOrder(std::string_view orderID) {
  const auto dash = orderID.find('-');
  if (dash == std::string_view::npos) throw RuntimeError(5, "Invalid procedure call or argument");
  return convert::roundToInt32(convert::leadingNumber(orderID.substr(0, dash)));
}

}  // namespace tarvine
