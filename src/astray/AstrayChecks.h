#pragma once
// The astray form's checks of an entry, as plain functions over the texts of its boxes, the load's
// orders and centers, and a look-up of the P.O. at the route service.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "load/AllOrdersUDT.h"
#include "platform/Dialogs.h"

namespace tarvine {

// The texts of the form's boxes.
struct AstrayEntry {
  std::string po1;
  std::string po2;
  std::string cartons;
  std::string freight;
};

// The box a refusal puts the focus on.
enum class AstrayBox { PO1, PO2, Cartons, Freight };

// Why an entry is refused: the message shown (OK button, information icon, no title) and the box
// that gets the focus.
struct AstrayRefusal {
  std::string_view message;
  AstrayBox box;
};

// The P.O.'s center as the route service knows it, or nothing when the P.O. was not received (or
// the look-up failed).
using AstrayLookup = std::function<std::optional<std::int16_t>(const std::string& orderID)>;

// True when some element equals the value: the element itself for plain lists, an order's
// OrderID otherwise. The spare last element takes part.
bool ListContains(const std::vector<std::string>& list, const std::string& value);
bool ListContains(const OrderArray& orders, const std::string& orderID);

// The P.O. id of an entry: both parts without their blanks, joined by "-".
std::string astrayOrderID(const AstrayEntry& entry);

// The first refusal of an entry, checked in this order: a part of the P.O. blank, the P.O. already
// in the load's orders, not received (lookup asked only here), its center not on the route, the
// cartons blank or not a number, the freight not a number, the cartons beyond 16 bits. Nothing
// when the entry may be sent: its cartons then convert to 16 bits and its freight to a number.
std::optional<AstrayRefusal> astrayRefusal(const AstrayEntry& entry, const OrderArray& orders,
                                           const std::vector<std::string>& centers,
                                           const AstrayLookup& lookup);

// Buttons value of the question before a P.O. is split over two loads: Yes and No, the warning
// icon, No the default.
inline constexpr int kMsgAstraySplitQuestion = kMsgWarningYesNo | kMsgDefaultButton2;

// The question before the form adds the next segment of a P.O. that has segments already (its
// highest segment number as the IsPOFound reply gave it, 1 or more), none of them on this load:
// "P.O. 12-34650 has segments on load 5002. Add segment 4 to load 5001 anyway?", naming the load
// the reply named (its OutgoingLoad column), or "... has segments that are not on load 5001. ..."
// when it named none. Empty when nothing is to be asked: no segment yet, a highest segment that
// is not a whole number, or a reply that puts the segments on this load or on none ("0").
std::string astraySplitQuestion(std::string_view orderID, std::string_view highestSegment,
                                std::string_view foundLoad, std::int16_t load);

}  // namespace tarvine
