#include "tools/FindOrder.h"

#include <algorithm>
#include <unordered_set>

#include "platform/Convert.h"

namespace tarvine::tools {
namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The positions of the P.O.'s first and last rows and of its first unchecked row.
struct OrderRows {
  std::optional<std::size_t> first;
  std::size_t last = 0;
  std::optional<std::size_t> firstUnchecked;
};

OrderRows orderRows(const ListView& list, std::string_view id) {
  OrderRows found;
  std::size_t position = 0;
  for (RowId row : list.order()) {
    ++position;
    const ListRow& item = list.row(row);
    if (item.text != id) continue;
    if (!found.first) found.first = position;
    found.last = position;
    if (!item.checked && !found.firstUnchecked) found.firstUnchecked = position;
  }
  return found;
}

// True when the list would show the P.O. with all centers chosen: a record of it belongs to a
// center of the route.
bool listedUnderAllCenters(const OrderPick& control, std::string_view id) {
  const std::vector<std::string>& route = control.centerList();
  const std::unordered_set<std::string> centers(route.begin(), route.end());
  const OrderArray& records = control.orders();
  return std::any_of(
      records.begin(), records.begin() + filledCount(records), [&](const AllOrdersUDT& record) {
        return record.OrderID == id && centers.contains(convert::integerText(record.CenterID));
      });
}

// Where the P.O. is when its id is not in the list.
ScanOutcome notListed(const OrderPick& control, std::string_view id) {
  return !id.empty() && control.widgets().cboCenter.listIndex() > 0 &&
                 listedUnderAllCenters(control, id)
             ? ScanOutcome::OtherCenter
             : ScanOutcome::NotFound;
}

}  // namespace

std::string_view trimOrderId(std::string_view id) {
  while (!id.empty() && isBlank(id.front())) id.remove_prefix(1);
  while (!id.empty() && isBlank(id.back())) id.remove_suffix(1);
  return id;
}

std::optional<std::size_t> findOrder(const ListView& list, std::string_view id) {
  id = trimOrderId(id);
  if (id.empty()) return std::nullopt;
  std::size_t position = 0;
  for (RowId row : list.order()) {
    ++position;
    if (list.row(row).text == id) return position;
  }
  return std::nullopt;
}

ScanResult selectOrder(OrderPick& control, std::string_view id) {
  ListView& list = control.widgets().lvwOrderIDs;
  id = trimOrderId(id);
  const OrderRows rows = id.empty() ? OrderRows{} : orderRows(list, id);
  if (!rows.first) return {std::nullopt, 0, notListed(control, id)};
  list.userClick(*rows.first);
  return {rows.first, rows.last, ScanOutcome::Selected};
}

ScanResult scanOrder(OrderPick& control, std::string_view id) {
  ListView& list = control.widgets().lvwOrderIDs;
  id = trimOrderId(id);
  OrderRows before = id.empty() ? OrderRows{} : orderRows(list, id);
  if (!before.first) {
    const ScanOutcome where = notListed(control, id);
    if (where == ScanOutcome::NotFound) return {};
    ComboBox& centers = control.widgets().cboCenter;
    centers.userSelect(0);
    if (centers.listIndex() != 0) return {std::nullopt, 0, where};
    before = orderRows(list, id);
    if (!before.first) return {};
  }
  list.userClick(*before.first);
  if (!before.firstUnchecked) return {before.first, before.last, ScanOutcome::AlreadyPicked};
  list.userToggleCheck(*before.firstUnchecked);
  const OrderRows after = orderRows(list, id);
  return {before.first, after.last,
          after.firstUnchecked ? ScanOutcome::NotPicked : ScanOutcome::Picked};
}

std::string scanMessage(std::string_view id, ScanOutcome outcome) {
  const std::string order = "P.O. " + std::string(trimOrderId(id));
  switch (outcome) {
    case ScanOutcome::Selected:
      return order + " is selected.";
    case ScanOutcome::OtherCenter:
      return order + " is on this load under another center than the one shown.";
    case ScanOutcome::Picked:
      return order + " is on the load.";
    case ScanOutcome::AlreadyPicked:
      return order + " is already on the load; left as it is.";
    case ScanOutcome::NotPicked:
      return order + " could not be put on the load.";
    case ScanOutcome::NotFound:
      break;
  }
  return order + " is not in this load's list.";
}

}  // namespace tarvine::tools
