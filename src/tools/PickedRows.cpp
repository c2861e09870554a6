#include "tools/PickedRows.h"

#include "platform/Convert.h"

namespace tarvine::tools {

double cubeOfRow(const OrderPick& control, RowId row) {
  const AllOrdersUDT* record = control.recordOfRow(row);
  return record ? convert::parseNumber(record->CubicFeet).value_or(0) : 0;
}

}  // namespace tarvine::tools
