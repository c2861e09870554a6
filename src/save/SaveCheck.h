#pragma once
// The check before a save: what the back office holds now for the P.O.s a save would write,
// compared with what the control loaded, and told in the dispatcher's words.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "load/AllOrdersUDT.h"
#include "platform/Dialogs.h"

namespace tarvine {

// A segment as the control loaded it. Kept beside Orders, because a freight override changes a
// record's freight in place.
struct LoadedSegment {
  double freight = 0;  // effective freight, rounded to cents
  bool onLoad = false;
  bool overridden = false;
};

// A segment the save writes: whether it puts it on the load, and the freight it writes.
struct WrittenSegment {
  std::string orderID;
  std::int16_t segment = 0;
  bool onLoad = false;
  std::optional<double> freight;     // nothing when the freight text is not a number
  std::optional<bool> loadedOnLoad;  // on the load when the list was filled (its Tag), if known
};

// One LoadedSegment per filled record of orders, in the same order.
std::vector<LoadedSegment> loadedStateOf(const OrderArray& orders);

// Puts back the freight each record was loaded with (loadedState, index for index), so that a
// discarded freight override is not shown by the next fill. Linear.
void restoreLoadedFreight(OrderArray& orders, const std::vector<LoadedSegment>& loadedState);

// The differences between the records as loaded (loaded with loadedState, index for index) and
// the records read now, for the P.O.s of the written segments, one line each, grouped by P.O. in
// the order first written: segments taken off or put on the load (one line for the P.O. when all
// of its segments went the same way), the freight of the P.O.'s first segment (the one the list
// shows), override flags, segments gone from the list and segments added to it. A load state or
// freight that the save writes just as the back office holds it now is not told: nothing is
// undone (a colleague did the same, or an earlier save whose reply was lost did go through).
// Empty when nothing is to be told. Linear in the records; never fails but for memory.
std::vector<std::string> changesSinceLoaded(const OrderArray& loaded,
                                            const std::vector<LoadedSegment>& loadedState,
                                            const OrderArray& now,
                                            const std::vector<WrittenSegment>& written);

// Whether each written segment is on the load in the records read now (its first record of
// that P.O. and segment), index for index; nothing for a segment they do not hold. Linear.
std::vector<std::optional<bool>> onLoadNow(const OrderArray& now,
                                           const std::vector<WrittenSegment>& written);

// The question asked before saving over the changes: the first ten lines, "and N more" for the
// rest, then whether to save over them (kSaveOverQuestion).
inline constexpr std::string_view kSaveOverQuestion = "Save your changes over theirs?";
std::string saveOverQuestion(const std::vector<std::string>& changes);

// The number of the error that a save not confirmed is reported with.
inline constexpr std::int32_t kErrSaveNotConfirmed = 32755;

// Asks a question that guards a save (kMsgSaveQuestion: Yes and No, No the default) and returns
// when the answer is Yes. Any other answer (No, Cancel, the OK of a host that shows OK only)
// throws RuntimeError kErrSaveNotConfirmed naming the question: "The changes were not saved:
// the save was not confirmed ("Save anyway?" was answered No)"; the caller sends nothing.
void confirmSave(Dialogs& dialogs, const std::string& prompt, const std::string& title,
                 std::string_view question);

}  // namespace tarvine
