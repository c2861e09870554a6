#pragma once
// What the benchmarks need of the control beyond its public face: filling the list from a given
// order array without a service call, as the center selection does for "For ALL centers".

#include <string>
#include <utility>
#include <vector>

#include "control/TarvineOrderPick.h"

namespace tarvine {

class TarvineOrderPickTestAccess {
 public:
  // Reads the centers reply text (unwrapped) into the center box and the center list.
  static void loadCenters(TarvineOrderPick& control, const std::string& unwrapped) {
    control.LoadCenterComboBox(unwrapped);
  }
  // Replaces the control's orders and fills the list for all centers, totals included.
  static void fillAllCenters(TarvineOrderPick& control, OrderArray orders) {
    control.Orders = std::move(orders);
    control.LoadAllOrders();
  }
};

}  // namespace tarvine
