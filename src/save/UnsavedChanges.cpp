// The rows a save would send: those carrying the change mark.

#include <unordered_set>

#include "control/TarvineOrderPick.h"

namespace tarvine {

UnsavedChanges TarvineOrderPick::unsavedChanges() const {
  UnsavedChanges changes;
  std::unordered_set<std::string> seen;
  const ListView& list = w_.lvwOrderIDs;
  for (RowId row : list.order()) {
    if (list.subItem(row, 7) != "1") continue;
    ++changes.rows;
    const std::string& order = list.row(row).text;
    if (seen.insert(order).second) changes.orders.push_back(order);
  }
  return changes;
}

}  // namespace tarvine
