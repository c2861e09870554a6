#include "control/TarvineOrderPick.h"
#include "load/OrderReader.h"
#include "platform/Convert.h"
#include "platform/XmlDocument.h"
#include "service/Requests.h"
#include "service/Unwrap.h"

namespace tarvine {

void TarvineOrderPick::PopulateAllOrders(OrderArray& orders) {
  trap("PopulateAllOrders", [&] {
    const std::string envelope =
        service::GetOutgoingLoadAllOrdersRequest(convert::roundToInt16(OutgoingLoadID), FacilityID);
    const std::string reply = service::UnwrapGetOutgoingLoadAllOrders(
        callRouteService("GetOutgoingLoadAllOrders", envelope, false).result);

    XmlDocument document;
    document.loadXml(reply);
    orders.assign(1, AllOrdersUDT{});
    if (document.parseErrorCode() == 0) {
      OrderReader reader;
      service::ReadDataSetRows(document, [&](const service::DataSetRow& row) {
        reader.readRow(row);
        reader.fillRecord(orders.back(), orders.size() - 1);
        orders.emplace_back();
      });
    }
    if (w_.cboCenter.count() >= 1) w_.cboCenter.setListIndex(0);
  });
}

}  // namespace tarvine
