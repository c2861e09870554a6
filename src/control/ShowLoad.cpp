// Showing a load: its header (centers, route, basic totals) and its order records.

#include "control/TarvineOrderPick.h"
#include "load/LoadHeader.h"
#include "load/OrderReader.h"
#include "platform/Convert.h"
#include "service/Requests.h"

namespace tarvine {

void TarvineOrderPick::PutTarvineID(std::int32_t plTarvineID) {
  showLoad(plTarvineID);
}

bool TarvineOrderPick::showLoad(std::int32_t loadID) {
  const std::int32_t shownID = OutgoingLoadID;
  const std::string shownCaption = w_.lblTarvineID.caption();
  bool cancelled = false;
  trap("PutTarvineID", [&] {
    OutgoingLoadID = loadID;
    w_.lblTarvineID.setCaption(convert::integerText(loadID));
    const std::int16_t load16 = convert::roundToInt16(OutgoingLoadID);
    // Every read comes before the screen changes: a read the user cancels leaves the load shown
    // as it was, picks and marks included.
    const auto keepShown = [&] {
      OutgoingLoadID = shownID;
      w_.lblTarvineID.setCaption(shownCaption);
      cancelled = true;
    };
    const service::Exchange centers =
        queryRouteService("GetOutgoingLoadCenterIDAndCenter",
                          service::GetOutgoingLoadCenterIDAndCenterRequest(load16));
    if (centers.cancelled) return keepShown();
    const service::Exchange route = queryRouteService(
        "GetOutgoingLoadDescriptionRoute", service::GetOutgoingLoadDescriptionRouteRequest(load16));
    if (route.cancelled) return keepShown();
    service::Exchange orders = readAllOrders(OrdersRead::Show);
    if (orders.cancelled) return keepShown();
    headerRead_ = centers.answered() && route.answered();
    LoadCenterComboBox(centers.result);
    // A route that could not be read shows blank, never the route of the load shown before.
    w_.lblRoute.setCaption("");
    LoadDescriptionRouteLabels(route.result);
    showOrders(std::move(orders), Orders);
  });
  return !cancelled;
}

void TarvineOrderPick::RefreshData() {
  // No trap of its own: each step reports its own errors and returns normally. A load whose
  // header could not be read is read whole again; a read the user cancels ends it.
  if (!(headerRead_ ? PopulateAllOrders(Orders) : showLoad(OutgoingLoadID))) return;
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

bool TarvineOrderPick::PopulateAllOrders(OrderArray& orders, OrdersRead read) {
  std::optional<service::Exchange> exchange;
  trap("PopulateAllOrders", [&] { exchange = readAllOrders(read); });
  if (exchange && exchange->cancelled) return false;
  if (exchange) showOrders(std::move(*exchange), orders);
  return true;
}

void TarvineOrderPick::showOrders(service::Exchange exchange, OrderArray& orders) {
  trap("PopulateAllOrders", [&] {
    const bool dataSet = readOrderRecords(std::move(exchange.result), orders, &ordersAsRead_);
    // A failed read was told by the transport; an answer without a data set is told here, and
    // the list is not refilled as if the load had no segments.
    if (exchange.answered() && !dataSet) {
      throw RuntimeError(static_cast<std::int32_t>(exchange.httpStatus),
                         "The route service's answer to GetOutgoingLoadAllOrders held no "
                         "readable data set");
    }
    if (w_.cboCenter.count() >= 1) setCenterIndex(0, CenterSwitch::Code);
  });
  // What was loaded, for the check before a save: a freight override changes Orders in place.
  trap("PopulateAllOrders", [&] { loadedState_ = loadedStateOf(orders); });
}

service::Exchange TarvineOrderPick::readAllOrders(OrdersRead read) {
  const std::string envelope =
      service::GetOutgoingLoadAllOrdersRequest(convert::roundToInt16(OutgoingLoadID), FacilityID);
  return queryRouteService("GetOutgoingLoadAllOrders", envelope, read != OrdersRead::AfterSave,
                           read == OrdersRead::SaveCheck);
}

}  // namespace tarvine
