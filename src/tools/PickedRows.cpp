#include "tools/PickedRows.h"

#include "picking/ListFill.h"
#include "platform/Convert.h"
#include "platform/RuntimeError.h"

namespace tarvine::tools {

const AllOrdersUDT* recordOfRow(const TarvineOrderPick& control, RowId row) {
  std::int16_t index = -1;
  try {
    index = recordIndexOf(control.widgets().lvwOrderIDs.row(row).tag);
  } catch (const RuntimeError&) {
    return nullptr;
  }
  const OrderArray& orders = control.orders();
  if (index < 0 || static_cast<std::size_t>(index) >= filledCount(orders)) return nullptr;
  return &orders[static_cast<std::size_t>(index)];
}

double cubeOfRow(const TarvineOrderPick& control, RowId row) {
  const AllOrdersUDT* record = recordOfRow(control, row);
  return record ? convert::parseNumber(record->CubicFeet).value_or(0) : 0;
}

}  // namespace tarvine::tools
