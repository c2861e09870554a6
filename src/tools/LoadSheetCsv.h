#pragma once
// The load sheet as CSV for spreadsheets: RFC 4180 (fields quoted when they hold a comma, a quote
// or a line break, quotes doubled, lines ended by CR LF), UTF-8, one header line, numbers with
// "." and no grouping. Each line says what it is in the column "Line": "Segment", "Center
// total", "Load total", and with limits "Trailer limit" and "Fill (%)".

#include <ostream>
#include <string>

#include "tools/LoadSheet.h"

namespace tarvine::tools {

// Writes the sheet. Texts that a spreadsheet would take for a formula (starting, after any
// spaces, with =, +, -, @, a tab, a carriage return or the full-width forms of = + - @) get a
// leading apostrophe.
void writeLoadSheetCsv(const LoadSheet& sheet, std::ostream& out);

// Writes the sheet into the file (replaced when it exists). Returns an empty text, or why the
// file could not be written.
std::string saveLoadSheetCsv(const LoadSheet& sheet, const std::string& path);

}  // namespace tarvine::tools
