#pragma once
// The rows a save sends (those the dispatcher changed since the list was filled: the change mark
// "1" in sub-item 7), and the statements it sends for them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ListView.h"
#include "save/SaveCheck.h"

namespace tarvine {

// Picks and freight overrides not saved yet: the rows carrying the change mark and the distinct
// P.O.s among them, in list order.
struct UnsavedChanges {
  std::size_t rows = 0;
  std::vector<std::string> orders;
};

// True when the row carries the change mark.
inline bool hasChangeMark(const ListRow& row) {
  return row.sub[6] == "1";
}

// The rows carrying the change mark, in list order. The pointers are valid until the list
// changes. Linear in the rows.
std::vector<const ListRow*> changedRows(const ListView& list);

// The count and the distinct P.O.s of the changed rows. Never fails but for memory.
UnsavedChanges unsavedChangesOf(const std::vector<const ListRow*>& changed);

// The title of the question asked before unsaved work would be lost.
inline constexpr std::string_view kUnsavedWorkTitle = "Unsaved changes";

// Its prompt, naming at most five P.O.s and counting the rest, then what would lose the work
// (`action`, "opening load 5002"): "The changes to P.O. 12-100, 15-300 are not saved." CR LF CR
// LF "Save them before opening load 5002?". Read with Yes, No and Cancel as with Save, Discard
// and Cancel. Never fails but for memory.
std::string unsavedWorkQuestion(const UnsavedChanges& changes, std::string_view action);

// What the statements of a save carry besides the rows.
struct SaveContext {
  std::int32_t loadID = 0;
  std::int32_t selectedCenterID = 0;  // 0 while all centers are shown
  std::int16_t personID = 0;
  std::int16_t personTypeID = 0;
};

// A save's statements and the segments they write.
struct SaveStatements {
  // One update per changed row, in list order; appendHistory() adds the rest.
  std::vector<std::string> statements;
  std::vector<WrittenSegment> written;  // one per changed row, in list order
};

// The updates for the changed rows. The center of an update is the selected center, or while
// all centers are shown the one the order id names (centerIDOfOrder). Throws RuntimeError when a
// segment text is not a 16-bit number (13, 6) or an order id names no center (5, 6); nothing is
// then to be sent. Linear in the rows.
SaveStatements saveStatements(const std::vector<const ListRow*>& changed,
                              const SaveContext& context);

// Appends one history statement per written segment whose load state flips, in the order
// written, then the spare empty text the request carries too: code 2 for a segment the save puts
// on the load, 5 for one it takes off. The state a segment flips from is its state when the list
// was filled (the Tag before ";"), or, where onLoad (index for index with written; may be empty)
// knows a different state on the load now, that one: the history then holds every move the save
// makes. Linear.
void appendHistory(SaveStatements& save, const SaveContext& context,
                   const std::vector<std::optional<bool>>& onLoad);

}  // namespace tarvine
