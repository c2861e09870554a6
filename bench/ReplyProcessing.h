#pragma once
// The road of an all-orders reply through the control once the HTTP exchange is over, step by
// step as the transport and the order loading take it.

#include <string>

#include "load/AllOrdersUDT.h"

namespace tarvine::bench {

// The transport's part: parse the body, serialize it, clean it up and strip the envelope.
std::string transportResult(const std::string& body);

// The order loading's part: unwrap, parse and read every row into records (with the spare one).
OrderArray readOrders(const std::string& transportResult);

}  // namespace tarvine::bench
