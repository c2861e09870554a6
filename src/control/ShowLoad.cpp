// Showing a load: its header (centers, route, basic totals) and its order records.

#include "control/TarvineOrderPick.h"
#include "load/LoadHeader.h"
#include "load/OrderReader.h"
#include "platform/Convert.h"
#include "service/Requests.h"

namespace tarvine {

void TarvineOrderPick::PutTarvineID(std::int32_t plTarvineID) {
  trap("PutTarvineID", [&] {
    OutgoingLoadID = plTarvineID;
    w_.lblTarvineID.setCaption(convert::integerText(plTarvineID));
    const std::int16_t loadID = convert::roundToInt16(OutgoingLoadID);
    // Both replies are fetched before either is shown.
    const std::string centers =
        queryRouteService("GetOutgoingLoadCenterIDAndCenter",
                          service::GetOutgoingLoadCenterIDAndCenterRequest(loadID))
            .result;
    const std::string route =
        queryRouteService("GetOutgoingLoadDescriptionRoute",
                          service::GetOutgoingLoadDescriptionRouteRequest(loadID))
            .result;
    LoadCenterComboBox(centers);
    LoadDescriptionRouteLabels(route);
    PopulateAllOrders(Orders);
  });
}

void TarvineOrderPick::RefreshData() {
  // No trap of its own: each step reports its own errors and returns normally.
  PopulateAllOrders(Orders);
  cboCenter_Click();
  cmdSave_Click();
}

void TarvineOrderPick::LoadCenterComboBox(const std::string& xml) {
  trap("LoadCenterComboBox", [&] {
    ClearAll();
    w_.cboCenter.clear();
    w_.cboCenter.addItem("For ALL centers on the route");
    const std::vector<HeaderRow> rows = readHeaderRows(xml, kCenterColumns);
    CenterList.assign(1, std::string());
    for (const HeaderRow& row : rows) {
      const std::string& centerID = row[0];
      const int index = w_.cboCenter.addItem(centerEntryText(centerID, row[1]));
      w_.cboCenter.setItemData(index, convert::toInt32(centerID));
      CenterList.back() = centerID;
      CenterList.emplace_back();
    }
  });
}

void TarvineOrderPick::LoadDescriptionRouteLabels(const std::string& xml) {
  trap("LoadDescriptionRouteLabels", [&] {
    for (const HeaderRow& row : readHeaderRows(xml, kRouteColumns)) {
      w_.lblRoute.setCaption(routeCaption(row[0], row[1]));
    }
  });
}

void TarvineOrderPick::LoadBasicTotal(const std::string& xml) {
  trap("LoadBasicTotal", [&] {
    for (const HeaderRow& row : readHeaderRows(xml, kBasicTotalColumns)) {
      if (row[0].empty()) continue;
      w_.lblTotal4.setCaption(basicTotalText(row[0]));
      w_.lblTotal5.setCaption(basicTotalText(row[1]));
      w_.lblTotal6.setCaption(basicTotalText(row[2]));
    }
  });
}

void TarvineOrderPick::PopulateAllOrders(OrderArray& orders) {
  trap("PopulateAllOrders", [&] {
    readOrderRecords(readAllOrders().result, orders, &ordersAsRead_);
    if (w_.cboCenter.count() >= 1) setCenterIndex(0, CenterSwitch::Code);
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
