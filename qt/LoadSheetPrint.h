#pragma once
// The load sheet on paper: the print dialog, then the sheet's one layout on the chosen printer.

#include "tools/LoadSheet.h"

class QWidget;

namespace tarvine::qt {

// Shows the print dialog over parent and prints the sheet on the printer chosen. Returns false
// when the user cancelled or the printer could not be drawn on.
bool printLoadSheet(const tools::LoadSheet& sheet, QWidget* parent);

}  // namespace tarvine::qt
