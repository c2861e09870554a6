#pragma once
// Helpers of the list fill that need no control.

#include <cstdint>
#include <string>
#include <unordered_set>

namespace tarvine {

// True when a row of this order id was already added by the running fill.
bool OrderExist(const std::unordered_set<std::string>& shownOrderIDs, const std::string& orderID);

// The record index kept after the ";" of a row's Tag. Throws RuntimeError 13 when there is no
// number there, 6 when it does not fit 16 bits.
std::int16_t recordIndexOf(const std::string& tag);

}  // namespace tarvine
