#include "control/TarvineOrderPick.h"
#include "load/OrderReader.h"
#include "platform/Convert.h"
#include "service/Requests.h"

namespace tarvine {

void TarvineOrderPick::PopulateAllOrders(OrderArray& orders) {
  trap("PopulateAllOrders", [&] {
    readOrderRecords(readAllOrders().result, orders);
    if (w_.cboCenter.count() >= 1) w_.cboCenter.setListIndex(0);
  });
  // What was loaded, for the check before a save: a freight override changes Orders in place.
  trap("PopulateAllOrders", [&] { loadedState_ = loadedStateOf(orders); });
}

service::Exchange TarvineOrderPick::readAllOrders() {
  const std::string envelope =
      service::GetOutgoingLoadAllOrdersRequest(convert::roundToInt16(OutgoingLoadID), FacilityID);
  return queryRouteService("GetOutgoingLoadAllOrders", envelope);
}

}  // namespace tarvine
