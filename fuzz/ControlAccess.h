#pragma once
// The control's readers of reply text, reached without a route service: the three header
// readers, and the all-centers fill from a given order array.

#include <string>
#include <utility>

#include "control/TarvineOrderPick.h"

namespace tarvine {

class TarvineOrderPickTestAccess {
 public:
  static void LoadCenterComboBox(TarvineOrderPick& control, const std::string& xml) {
    control.LoadCenterComboBox(xml);
  }
  static void LoadDescriptionRouteLabels(TarvineOrderPick& control, const std::string& xml) {
    control.LoadDescriptionRouteLabels(xml);
  }
  static void LoadBasicTotal(TarvineOrderPick& control, const std::string& xml) {
    control.LoadBasicTotal(xml);
  }
  // Stores the orders as a finished order loading leaves them and fills the list for all centers.
  static void fillAllCenters(TarvineOrderPick& control, OrderArray orders) {
    control.Orders = std::move(orders);
    control.LoadAllOrders();
  }
};

}  // namespace tarvine
