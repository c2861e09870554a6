#pragma once
// What the dispatcher reads while a route service operation runs: "Loading the orders of load
// 5001…", "Checking load 5001 for other changes…", "Saving 12 changes…", "Checking P.O.
// 12-34567…".

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvine::service {

// What an operation is about.
struct ActivityContext {
  std::int32_t load = 0;    // the load shown
  std::size_t changes = 0;  // rows being saved (UpdateOutgoingLoadOrder)
  std::string order;        // the P.O. checked or added (IsPOFound, AddAstrayPO)
  bool saveCheck = false;   // the orders are read again before a save (GetOutgoingLoadAllOrders)
};

// The text for an operation by its name; a general one for any other name. Never fails.
std::string activityText(std::string_view operation, const ActivityContext& context);

}  // namespace tarvine::service
