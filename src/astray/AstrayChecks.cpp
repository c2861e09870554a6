#include "astray/AstrayChecks.h"

#include <algorithm>

#include "platform/Convert.h"
#include "platform/RuntimeError.h"

namespace tarvine {
namespace {

constexpr AstrayRefusal kPO1Blank{"PO text box has been left blank.", AstrayBox::PO1};
constexpr AstrayRefusal kPO2Blank{"PO text box has been left blank.", AstrayBox::PO2};
constexpr AstrayRefusal kAlreadyListed{
    "Purchase Order ID is already added in the list for this route.", AstrayBox::PO1};
constexpr AstrayRefusal kNotReceived{"This Purchase Order ID has not been received.",
                                     AstrayBox::PO1};
constexpr AstrayRefusal kCenterNotOnRoute{
    "This P.O's Center is not apart of this route.\r\n"
    "Please add this center to this route and recreate a new load.",
    AstrayBox::PO1};
constexpr AstrayRefusal kCartonsBlank{"Please enter number of cartons that were astray",
                                      AstrayBox::Cartons};
constexpr AstrayRefusal kCartonsNotNumeric{
    "Number of cartons must be a numeric value. Please enter in a number.", AstrayBox::Cartons};
constexpr AstrayRefusal kCartonsOutOfRange{
    "Number of cartons is out of range. Please enter a number from -32768 to 32767.",
    AstrayBox::Cartons};
constexpr AstrayRefusal kFreightNotNumeric{
    "Freight must be a numeric value. Please enter in a number.", AstrayBox::Freight};

bool fitsInt16(const std::string& text) {
  try {
    convert::toInt16(text);
    return true;
  } catch (const RuntimeError&) {
    return false;
  }
}

}  // namespace

bool ListContains(const std::vector<std::string>& list, const std::string& value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

bool ListContains(const OrderArray& orders, const std::string& orderID) {
  return std::any_of(orders.begin(), orders.end(),
                     [&](const AllOrdersUDT& order) { return order.OrderID == orderID; });
}

std::string astrayOrderID(const AstrayEntry& entry) {
  return std::string(convert::trimBlanks(entry.po1)) + "-" +
         std::string(convert::trimBlanks(entry.po2));
}

std::optional<AstrayRefusal> astrayRefusal(const AstrayEntry& entry, const OrderArray& orders,
                                           const std::vector<std::string>& centers,
                                           const AstrayLookup& lookup) {
  if (entry.po1.empty()) return kPO1Blank;
  if (entry.po2.empty()) return kPO2Blank;
  const std::string orderID = astrayOrderID(entry);
  if (ListContains(orders, orderID)) return kAlreadyListed;
  const std::optional<std::int16_t> center = lookup(orderID);
  if (!center) return kNotReceived;
  if (!ListContains(centers, convert::integerText(*center))) return kCenterNotOnRoute;
  if (entry.cartons.empty()) return kCartonsBlank;
  if (!convert::isNumeric(entry.cartons)) return kCartonsNotNumeric;
  // Nothing is sent for a freight or a cartons number that cannot be converted.
  if (!convert::isNumeric(entry.freight)) return kFreightNotNumeric;
  if (!fitsInt16(entry.cartons)) return kCartonsOutOfRange;
  return std::nullopt;
}

std::string astraySplitQuestion(std::string_view orderID, std::string_view highestSegment,
                                std::string_view foundLoad, std::int16_t load) {
  const std::optional<std::int32_t> highest = convert::parseWholeNumber(highestSegment);
  if (!highest || *highest < 1) return {};
  // A load text that is not a whole number names no load.
  const std::optional<std::int32_t> other = convert::parseWholeNumber(foundLoad);
  if (other && (*other == 0 || *other == load)) return {};
  const std::string thisLoad = convert::integerText(load);
  const std::string where =
      other ? "on load " + convert::integerText(*other) : "that are not on load " + thisLoad;
  return "P.O. " + std::string(orderID) + " has segments " + where + ". Add segment " +
         convert::integerText(std::int64_t{*highest} + 1) + " to load " + thisLoad + " anyway?";
}

}  // namespace tarvine
