#pragma once
// The load sheet as PDF without a window, behind a face without Qt, so that the command line
// builds with or without the Qt front end.

#include <string>

#include "tools/LoadSheet.h"

namespace tarvine::app {

// Writes the sheet as a PDF on the paper named ("letter", "a4", or empty for the locale's),
// drawing offscreen. Returns an empty text, or why it could not be written (this build has no
// Qt, an unknown paper, a file that cannot be written).
std::string writeSheetPdf(const tools::LoadSheet& sheet, const std::string& path,
                          const std::string& paper);

}  // namespace tarvine::app
