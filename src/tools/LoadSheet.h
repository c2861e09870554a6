#pragma once
// The load sheet: what is picked, for the driver and the dock, built once from the control's
// screen as data. The CSV (here) and the PDF and paper (in the Qt front end) are written from it.
//
// The picked segments are the checked rows of the list, as the "TOTALS per Load" count them: a
// P.O.'s weight and freight stand on its first row only (the one the list shows them on; its
// further segments carry 0), so the sheet's totals are the screen's totals.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "control/OrderPick.h"
#include "tools/TrailerLimits.h"

namespace tarvine::tools {

// One picked segment, as its row shows it.
struct SheetLine {
  std::string order;     // P.O. id
  std::string segment;   // segment number as the list shows it
  std::string received;  // mm/dd/yyyy
  double cartons = 0;
  double weight = 0;   // the P.O.'s weight on its first row, else 0
  double cube = 0;     // the segment's cubic feet
  double freight = 0;  // the P.O.'s freight on its first row, else 0; -1 when it has no rate
  bool hot = false;
};

// Sums over lines.
struct SheetFigures {
  std::size_t segments = 0;
  double cartons = 0;
  double weight = 0;
  double cube = 0;
  double freight = 0;
};

// The picked segments of one center, in list order.
struct SheetCenter {
  std::string id;    // center id as text
  std::string name;  // center name from the center box; empty when the box does not know it
  std::vector<SheetLine> lines;
  SheetFigures subtotal;
};

struct LoadSheet {
  std::string manifest;              // the manifest number shown
  std::string route;                 // the route caption shown
  std::string printed;               // date and time printed, as given by the caller
  std::string person;                // "7 (type 2)"
  std::vector<SheetCenter> centers;  // in the route's stop order (the center box's order)
  SheetFigures totals;
  std::optional<TrailerLimits> limits;
};

// Builds the sheet from the control's screen: the checked rows grouped by center in the center
// box's order (centers the box does not list follow, in list order), each group in list order.
// Totals are added up row by row as the total captions are. Throws RuntimeError when a row's
// numbers cannot be read (they always can after a fill). Linear in the rows.
LoadSheet buildLoadSheet(const OrderPick& control, std::string printed,
                         std::optional<TrailerLimits> limits = std::nullopt);

// The local time now as mm/dd/yyyy hh:mm, for LoadSheet::printed.
std::string printedNow();

// "Center 12 North" for headings, "Center 12" without a name.
std::string centerHeading(const SheetCenter& center);

}  // namespace tarvine::tools
