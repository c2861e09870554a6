#include "control/TarvineOrderPick.h"
#include "load/OrderReader.h"
#include "platform/Convert.h"
#include "service/Requests.h"
#include "service/Unwrap.h"

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
  service::Exchange exchange = callRouteService("GetOutgoingLoadAllOrders", envelope, false);
  exchange.result = service::UnwrapGetOutgoingLoadAllOrders(exchange.result);
  return exchange;
}

}  // namespace tarvine
