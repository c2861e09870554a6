#pragma once
// What a fill shows for an order record (the row's texts, check box, Tag and colour), and what a
// row tells back about the record it was filled from.

#include <cstdint>
#include <string>
#include <unordered_set>

#include "load/AllOrdersUDT.h"
#include "platform/ListView.h"

namespace tarvine {

// Row colours of the list (0x00BBGGRR).
inline constexpr std::uint32_t kColorBlue = 16711680;
inline constexpr std::uint32_t kColorRed = 255;

// True when a row of this order id was already added by the running fill.
bool OrderExist(const std::unordered_set<std::string>& shownOrderIDs, const std::string& orderID);

// The row a fill shows for the record: item text the order id; sub-items 1 check mark, 2 segment,
// 3 received, 4 cartons, 5 weight and 6 freight (on a P.O.'s first row of the fill the order's
// total weight and its freight, -1 shown as "-1"; "0" and "0.00" on its other rows), 7 change mark
// "0", 8 hot mark, 9 override mark, 10 "True" or "False" for no rate; checked, blue and Tagged
// "Checked;index" when the record is on the load, else Tagged "UnChecked;index" and red when hot.
// Never fails but for memory.
ListRow shownRow(const AllOrdersUDT& record, bool firstOfOrder);

// The record index kept after the ";" of a row's Tag. Throws RuntimeError 13 when there is no
// number there, 6 when it does not fit 16 bits.
std::int16_t recordIndexOf(const std::string& tag);

}  // namespace tarvine
