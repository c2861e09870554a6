#pragma once
// Finding a P.O. in the list by its id, as typed or scanned, and picking it the way a user does:
// a click on its row, and a click on the check box of a row of it.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "control/OrderPick.h"

namespace tarvine::tools {

// The id as typed or scanned, without the blanks, tabs and line breaks around it.
std::string_view trimOrderId(std::string_view id);

// The 1-based list position of the P.O.'s first row in the list's current order, or nothing when
// no row has that id (trimmed; compared exactly). One pass over the rows.
std::optional<std::size_t> findOrder(const ListView& list, std::string_view id);

enum class ScanOutcome {
  NotFound,       // not on this load under any center (Add as astray may add it); nothing changed
  OtherCenter,    // on this load under another center than the one shown; the list stays
  Selected,       // a find selected its first row
  Picked,         // the whole P.O. was checked onto the load
  AlreadyPicked,  // every row of it was checked already; left as it was
  NotPicked,      // the list refused the click or the control reported an error
};

struct ScanResult {
  std::optional<std::size_t> row;  // position of the P.O.'s first row, as findOrder()
  std::size_t lastRow = 0;         // position of its last row (0 without a first)
  ScanOutcome outcome = ScanOutcome::NotFound;
};

// Finds the P.O. and selects its first row as the user's click on it does (the window scrolls to
// its rows). Selected, OtherCenter or NotFound; nothing changes unless it is listed.
ScanResult selectOrder(OrderPick& control, std::string_view id);

// As a barcode scan: a P.O. of this load under another center than the one shown first switches
// the list to all centers, as the user's choice in the center box does (which asks about unsaved
// work first; OtherCenter when the user keeps the center). Then selects the P.O.'s first row
// and, unless every row of it is checked, clicks the check box of its first unchecked row: the
// control's own row check then checks the whole P.O., with its totals, marks and messages.
// Scanning a picked P.O. again never takes it off.
ScanResult scanOrder(OrderPick& control, std::string_view id);

// What the window's status says after a find or scan of the id ("P.O. 12-99999 is not in this
// load's list.").
std::string scanMessage(std::string_view id, ScanOutcome outcome);

}  // namespace tarvine::tools
