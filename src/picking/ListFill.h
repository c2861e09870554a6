#pragma once
// Helpers of the list fill that need no control.

#include <string>
#include <unordered_set>

namespace tarvine {

// True when a row of this order id was already added by the running fill.
bool OrderExist(const std::unordered_set<std::string>& shownOrderIDs, const std::string& orderID);

}  // namespace tarvine
