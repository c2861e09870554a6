#pragma once
// The load sheet as CSV for spreadsheets: RFC 4180 (fields quoted when they hold a comma, a quote
// or a line break, quotes doubled, lines ended by CR LF), UTF-8, numbers with "." and no
// grouping, each column in one format (cartons whole, weight and freight with two decimals,
// cube with one). Header lines first: manifest, route, printed, person, the unsaved changes the
// sheet leaves out (when there are any), what the totals count, and with limits the trailer's
// lines (limit, what is on the sheet, fill in %). Then an empty line and the table, whose
// column "Line" tells "Segment", "Center subtotal" and "Load total" apart.

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
