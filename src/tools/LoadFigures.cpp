#include "tools/LoadFigures.h"

#include <unordered_map>

#include "platform/Convert.h"

namespace tarvine::tools {
FillFigures segmentFigures(const AllOrdersUDT& record) {
  return {record.Weight, convert::parseNumber(record.CubicFeet).value_or(0),
          static_cast<double>(record.Cartons)};
}

std::vector<OrderFigures> orderFigures(const OrderArray& records, const std::vector<bool>& onLoad) {
  std::vector<OrderFigures> orders;
  std::unordered_map<std::string, std::size_t> indexOf;
  for (std::size_t i = 0; i < onLoad.size() && i < records.size(); ++i) {
    const AllOrdersUDT& record = records[i];
    const auto [found, added] = indexOf.emplace(record.OrderID, orders.size());
    if (added) orders.push_back({record.OrderID, false, {}, {}});
    OrderFigures& order = orders[found->second];
    order.hot = order.hot || record.HotItem == 1;
    (onLoad[i] ? order.onLoad : order.offLoad) += segmentFigures(record);
  }
  return orders;
}

FillFigures onLoadTotal(const std::vector<OrderFigures>& orders) {
  FillFigures total;
  for (const OrderFigures& order : orders) total += order.onLoad;
  return total;
}

std::vector<bool> onThisLoadAsRead(const OrderPick& control) {
  const std::vector<RecordAsRead>& asRead = control.ordersAsRead();
  std::vector<bool> onLoad(std::min(asRead.size(), filledCount(control.orders())));
  for (std::size_t i = 0; i < onLoad.size(); ++i) {
    onLoad[i] = asRead[i].load == control.outgoingLoadID();
  }
  return onLoad;
}

std::vector<bool> onThisLoadNow(const OrderPick& control) {
  std::vector<bool> onLoad = onThisLoadAsRead(control);
  const ListView& list = control.widgets().lvwOrderIDs;
  const AllOrdersUDT* first = control.orders().data();
  for (RowId row : list.order()) {
    const AllOrdersUDT* record = control.recordOfRow(row);
    if (!record) continue;
    const auto index = static_cast<std::size_t>(record - first);
    if (index >= onLoad.size()) continue;
    const ListRow& shown = list.row(row);
    onLoad[index] = shown.checked && (onLoad[index] || hasChangeMark(shown));
  }
  return onLoad;
}

}  // namespace tarvine::tools
