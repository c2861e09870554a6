#pragma once
// One order segment of the current load, as the control keeps it in memory.

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

namespace tarvine {

// The public record of one order segment; field order is part of the control's type
// description. A record that was never filled has empty texts, zero numbers and false flags.
struct AllOrdersUDT {
  std::string OrderID;    // center id, "-", number
  bool Checked = false;   // on an outgoing load already
  std::string CubicFeet;  // as the service sent it
  std::int16_t Segment = 0;
  std::string Received;  // mm/dd/yyyy, or the service's text when not a date
  std::int16_t Cartons = 0;
  double Weight = 0;
  double Freight = 0;  // effective freight, rounded to cents; -1 = no rate
  std::int16_t CenterID = 0;
  std::int16_t IndexValue = 0;  // own index in Orders at load time
  double MinimumCharge = 0;
  std::int32_t TotalFactoryWeight = 0;  // the order's total weight (32-bit: trucks exceed 32,767)
  double TotalRate = 0;
  double TotalSuggestedFreight = 0;
  std::int16_t HotItem = 0;          // 1 or 0
  std::int16_t OverrideFreight = 0;  // 1 or 0
  bool NoRate = false;
};

// What the last read said of a record beyond its public fields. Kept beside the record, whose
// field list is a public type: the load its segment rode on, and the freight it was read with (a
// freight override on screen changes the record's freight, not this one).
struct RecordAsRead {
  std::int32_t load = 0;  // the reply's OutgoingLoad: 0 for none, kUnreadableLoad for a text
                          // that is not a whole number
  double freight = 0;
};

// The load of a segment whose OutgoingLoad text is not a whole number: on no load we can name.
inline constexpr std::int32_t kUnreadableLoad = INT32_MIN;

// Growable arrays keep one spare element at the end: n records give n + 1 elements. Readers
// loop over the first size() - 1 elements.
using OrderArray = std::vector<AllOrdersUDT>;

// Number of filled records of a growable array (0 for an unallocated one).
template <typename T>
std::size_t filledCount(const std::vector<T>& array) {
  return array.empty() ? 0 : array.size() - 1;
}

}  // namespace tarvine
