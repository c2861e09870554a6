#pragma once
// The cube of the list's rows, read from the records they were filled from.

#include "control/OrderPick.h"

namespace tarvine::tools {

// The cube of a row in cubic feet: its record's CubicFeet read as a number; 0 when the row has
// no record or the text is not a number.
double cubeOfRow(const OrderPick& control, RowId row);

}  // namespace tarvine::tools
