// Filling the order list from Orders: all centers of the route, or one center.

#include <functional>
#include <unordered_set>

#include "control/TarvineOrderPick.h"
#include "picking/ListFill.h"
#include "picking/PickTotals.h"
#include "platform/Convert.h"

namespace tarvine {
namespace {

// Sets up one row from its record; returns whether the row is checked. Only a P.O.'s first row
// of this fill shows its weight and freight.
bool showRecord(ListView& list, RowId row, const AllOrdersUDT& record, bool firstOfOrder) {
  list.setSubItem(row, 2, convert::integerText(record.Segment));
  list.setSubItem(row, 3, record.Received);
  list.setSubItem(row, 4, convert::integerText(record.Cartons));
  list.setSubItem(row, 10, record.NoRate ? "True" : "False");
  if (firstOfOrder) {
    list.setSubItem(row, 5, convert::integerText(record.TotalFactoryWeight));
    list.setSubItem(row, 6, record.Freight == -1 ? "-1" : convert::formatStandard(record.Freight));
  } else {
    list.setSubItem(row, 5, "0");
    list.setSubItem(row, 6, "0.00");
  }
  const std::string index = convert::integerText(record.IndexValue);
  if (record.Checked) {
    list.setChecked(row, true);
    list.setColor(row, kColorBlue);
    list.setTag(row, "Checked;" + index);
    list.setSubItem(row, 1, "X");
  } else {
    list.setTag(row, "UnChecked;" + index);
  }
  list.setSubItem(row, 7, "0");
  if (record.HotItem == 1) {
    if (!record.Checked) list.setColor(row, kColorRed);
    list.setSubItem(row, 8, "X");
  } else {
    list.setSubItem(row, 8, "");
  }
  list.setSubItem(row, 9, record.OverrideFreight == 1 ? "X" : "");
  return record.Checked;
}

}  // namespace

bool OrderExist(const std::unordered_set<std::string>& shownOrderIDs, const std::string& orderID) {
  return shownOrderIDs.contains(orderID);
}

std::int16_t recordIndexOf(const std::string& tag) {
  const auto semicolon = tag.find(';');
  return convert::toInt16(semicolon == std::string::npos
                              ? std::string_view{}
                              : std::string_view(tag).substr(semicolon + 1));
}

bool TarvineOrderPick::CenterExist(const std::unordered_set<std::string>& list,
                                   const std::string& value) {
  bool exists = false;
  trap("CenterExist", [&] { exists = list.contains(value); });
  return exists;
}

void TarvineOrderPick::LoadAllOrders() {
  const std::unordered_set<std::string> centers(CenterList.begin(), CenterList.end());
  fillList("LoadAllOrders", false, [&](const AllOrdersUDT& record) {
    return CenterExist(centers, convert::integerText(record.CenterID));
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
    for (std::size_t i = 0; i < count; ++i) {
      const AllOrdersUDT& record = Orders[i];
      if (!listed(record)) continue;
      anyListed = true;
      const RowId row = list.addRow(record.OrderID);
      const bool firstOfOrder = !OrderExist(shownOrderIDs, record.OrderID);
      if (showRecord(list, row, record, firstOfOrder)) {
        totals.add(list, row);
      } else {
        allChecked = false;
      }
      shownOrderIDs.insert(record.OrderID);
    }
    w_.chkSellectAll.setEnabled(true);
    FillingList = true;
    w_.chkSellectAll.setValue(allChecked && (!oneCenter || anyListed) ? 1 : 0);
    FillingList = false;
    totals.show(w_.lblTotal4, w_.lblTotal5, w_.lblTotal6);
  });
}

}  // namespace tarvine
