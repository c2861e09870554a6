#pragma once
// Reading the list's rows back to the records they were filled from, through their Tags.

#include "control/TarvineOrderPick.h"

namespace tarvine::tools {

// The record a row of the list was filled from, or null when its Tag names none.
const AllOrdersUDT* recordOfRow(const TarvineOrderPick& control, RowId row);

// The cube of a row in cubic feet: its record's CubicFeet read as a number; 0 when the row has
// no record or the text is not a number.
double cubeOfRow(const TarvineOrderPick& control, RowId row);

}  // namespace tarvine::tools
