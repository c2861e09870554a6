#pragma once
// The load sheet: what rides on the truck, for the driver and the dock, built as data from the
// load as the route service held it at the last read of its orders, whatever center, sort or
// selection the screen shows and whatever is unsaved on it. The CSV (here) and the PDF and
// paper (in the Qt front end) are written from it.
//
// Every segment on the load is a line with its own cartons, weight and cube. A P.O.'s freight
// stands on the line of its first segment (as the list shows it on the P.O.'s first row and a
// save writes it), 0 on the others; a P.O. without a rate shows -1 there and adds nothing.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "control/OrderPick.h"
#include "tools/TrailerLimits.h"

namespace tarvine::tools {

// One segment on the load.
struct SheetLine {
  std::string order;     // P.O. id
  std::string segment;   // segment number
  std::string received;  // mm/dd/yyyy
  double cartons = 0;
  double weight = 0;   // the segment's own weight
  double cube = 0;     // the segment's own cubic feet
  double freight = 0;  // the P.O.'s freight on its first segment, else 0; -1 when it has no rate
  bool hot = false;
};

// Sums over lines.
struct SheetFigures {
  std::size_t segments = 0;
  double cartons = 0;
  double weight = 0;
  double cube = 0;
  double freight = 0;  // a freight of -1 (no rate) adds nothing
};

// The segments of one center: P.O.s in the order the route service listed them, each P.O.'s
// segments together in the order of their numbers.
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
  std::size_t unsavedOrders = 0;  // P.O.s changed on screen and not saved: not on this sheet
};

// Why there is no sheet of the control's load: no load shown, or no segment on it at the last
// read. Nothing when there is one.
std::optional<std::string> sheetRefusal(const OrderPick& control);

// Builds the sheet: the segments the last read put on the load shown (their OutgoingLoad is its
// id), grouped by center in the center box's order (centers the box does not list follow, in
// the order of their first segments). Linear in the records, but for sorting each P.O.'s
// segments.
LoadSheet buildLoadSheet(const OrderPick& control, std::string printed,
                         std::optional<TrailerLimits> limits = std::nullopt);

// The local time now as mm/dd/yyyy hh:mm, for LoadSheet::printed.
std::string printedNow();

// "Center 12 North" for headings, "Center 12" without a name.
std::string centerHeading(const SheetCenter& center);

// The line a sheet shows on every page and in its CSV header when changes on screen are left
// out: "Unsaved changes on screen are not on this sheet: 2" (P.O.s); empty when there are none.
std::string unsavedNote(const LoadSheet& sheet);

// Decimals of the sheet's number columns, one format per column.
inline constexpr int kCartonDecimals = 0;
inline constexpr int kWeightDecimals = 2;
inline constexpr int kCubeDecimals = 1;
inline constexpr int kFreightDecimals = 2;

// What the sheet's totals count, in two lines, for the lines under them.
inline constexpr std::array<const char*, 2> kSheetTotalsCount = {
    "Totals add each segment's own cartons, weight and cube; a P.O.'s freight is on its first "
    "segment.",
    "The weight total under the picking list counts each P.O.'s total weight, on every load, "
    "instead."};

}  // namespace tarvine::tools
