#pragma once
// The road of an all-orders reply through the control once the HTTP exchange is over, as the
// transport and the order loading take it.

#include <string>
#include <string_view>

#include "load/AllOrdersUDT.h"

namespace tarvine::bench {

// The transport's part: parse the body where it is (a copy here, where the real transport
// takes curl's buffer) and take the operation's data set text out of it.
std::string dataSetTextOf(const std::string& body, std::string_view operation);

// The order loading's part: parse the data set and read every row into records (with the spare
// one).
OrderArray readOrders(std::string dataSetText);

}  // namespace tarvine::bench
