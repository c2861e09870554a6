#include "control/TarvineOrderPick.h"
#include "load/OrderReader.h"
#include "platform/Convert.h"
#include "platform/XmlDocument.h"
#include "service/Requests.h"
#include "service/DataSet.h"

namespace tarvine {

void TarvineOrderPick::PopulateAllOrders(OrderArray& orders) {
  trap("PopulateAllOrders", [&] {
    const std::string envelope =
        service::GetOutgoingLoadAllOrdersRequest(convert::roundToInt16(OutgoingLoadID), FacilityID);
    {
      // The reply's data set is parsed where it is, and the tree is gone before the list is
      // filled.
      XmlDocument document;
      service::loadDataSet(document, queryRouteService("GetOutgoingLoadAllOrders", envelope));
      orders.assign(1, AllOrdersUDT{});
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
