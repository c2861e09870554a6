// Filling the order list from Orders: all centers of the route, or one center.

#include <functional>
#include <optional>
#include <unordered_set>

#include "control/TarvineOrderPick.h"
#include "picking/RowShow.h"
#include "platform/Convert.h"

namespace tarvine {
bool TarvineOrderPick::CenterExist(const std::unordered_set<std::string>& list,
                                   const std::string& value) {
  bool exists = false;
  trap("CenterExist", [&] { exists = list.contains(value); });
  return exists;
}

void TarvineOrderPick::LoadAllOrders() {
  const std::unordered_set<std::string> centers(CenterList.begin(), CenterList.end());
  // The rows come grouped by center: each center is looked up once per group.
  std::optional<std::int16_t> lastCenter;
  bool lastListed = false;
  fillList("LoadAllOrders", false, [&](const AllOrdersUDT& record) {
    if (record.CenterID != lastCenter) {
      lastCenter = record.CenterID;
      lastListed = CenterExist(centers, convert::integerText(record.CenterID));
    }
    return lastListed;
  });
}

void TarvineOrderPick::LoadOrdersByCenterID(std::int16_t centerID) {
  fillList("LoadOrdersByCenterID", true,
           [centerID](const AllOrdersUDT& record) { return record.CenterID == centerID; });
}

void TarvineOrderPick::fillList(std::string_view procedure, bool oneCenter,
                                const std::function<bool(const AllOrdersUDT&)>& listed) {
  trap(procedure, [&] {
    ListView& list = w_.lvwOrderIDs;
    list.clear();
    bool allChecked = true;
    bool anyListed = false;
    std::unordered_set<std::string> shownOrderIDs;
    PickTotals totals;
    const std::size_t count = filledCount(Orders);
    list.reserveRows(count);
    shownOrderIDs.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      const AllOrdersUDT& record = Orders[i];
      if (!listed(record)) continue;
      anyListed = true;
      const RowId row = list.addRow(shownRow(record, !OrderExist(shownOrderIDs, record.OrderID)));
      if (record.Checked) {
        totals.add(list.row(row));
      } else {
        allChecked = false;
      }
      shownOrderIDs.insert(record.OrderID);
    }
    w_.chkSellectAll.setEnabled(true);
    FillingList = true;
    w_.chkSellectAll.setValue(allChecked && (!oneCenter || anyListed) ? 1 : 0);
    FillingList = false;
    showTotals(totals);
  });
}

const AllOrdersUDT* TarvineOrderPick::recordOfRow(RowId row) const {
  std::int16_t index = -1;
  try {
    index = recordIndexOf(w_.lvwOrderIDs.row(row).tag);
  } catch (const RuntimeError&) {
    return nullptr;
  }
  if (index < 0 || static_cast<std::size_t>(index) >= filledCount(Orders)) return nullptr;
  return &Orders[static_cast<std::size_t>(index)];
}

}  // namespace tarvine
