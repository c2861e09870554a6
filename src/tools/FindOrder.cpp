#include "tools/FindOrder.h"

namespace tarvine::tools {
namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Whether every row of the P.O. is checked, and the position of its first unchecked row.
struct OrderRows {
  std::optional<std::size_t> first;
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
    if (!item.checked) {
      found.firstUnchecked = position;
      break;
    }
  }
  return found;
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

std::optional<std::size_t> selectOrder(OrderPick& control, std::string_view id) {
  ListView& list = control.widgets().lvwOrderIDs;
  const std::optional<std::size_t> row = findOrder(list, id);
  if (row) list.userClick(*row);
  return row;
}

ScanResult scanOrder(OrderPick& control, std::string_view id) {
  ListView& list = control.widgets().lvwOrderIDs;
  id = trimOrderId(id);
  const OrderRows before = id.empty() ? OrderRows{} : orderRows(list, id);
  if (!before.first) return {};
  list.userClick(*before.first);
  if (!before.firstUnchecked) return {before.first, ScanOutcome::AlreadyPicked};
  list.userToggleCheck(*before.firstUnchecked);
  const OrderRows after = orderRows(list, id);
  return {before.first, after.firstUnchecked ? ScanOutcome::NotPicked : ScanOutcome::Picked};
}

std::string findMessage(std::string_view id, bool found) {
  const std::string order(trimOrderId(id));
  return found ? "P.O. " + order + " is selected."
               : "P.O. " + order + " is not in this load's list.";
}

std::string scanMessage(std::string_view id, ScanOutcome outcome) {
  const std::string order(trimOrderId(id));
  switch (outcome) {
    case ScanOutcome::Picked:
      return "P.O. " + order + " is on the load.";
    case ScanOutcome::AlreadyPicked:
      return "P.O. " + order + " is already on the load; left as it is.";
    case ScanOutcome::NotPicked:
      return "P.O. " + order + " could not be put on the load.";
    case ScanOutcome::NotFound:
      break;
  }
  return findMessage(id, false);
}

}  // namespace tarvine::tools
