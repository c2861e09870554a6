#pragma once
// "Fill trailer": the best fill for the load on screen, and applying it as the dispatcher's own
// clicks. The candidates are the P.O.s of the list that are not wholly checked, in list order,
// each with the figures of its unchecked rows' segments; what is on the load is what the
// trailer's gauges count. Applying clicks the check box of each proposed P.O.'s first unchecked
// row, as a scan does, so totals, change marks, messages and the save are those of checking the
// P.O.s by hand.

#include <optional>
#include <string>
#include <vector>

#include "control/OrderPick.h"
#include "tools/FillProposal.h"

namespace tarvine::tools {

// The fill request for what the control shows now under the given limits. Linear in the records
// and rows.
FillRequest fillRequest(const OrderPick& control, const TrailerLimits& limits);

// The ids of the proposal's P.O.s, in list order.
std::vector<std::string> chosenOrders(const FillRequest& request, const FillProposal& proposal);

// What applying a proposal did.
enum class FillApplyOutcome {
  Applied,     // every proposed P.O. was checked onto the load (none when nothing fits)
  NoProposal,  // nothing to apply: no proposal was made, or it was applied already
  Changed,     // the list, what is on the load or the limits changed since; nothing was done
  NotPicked,   // the list refused a click or the control reported an error; the rest was left
};

// What applying a proposal did, which P.O.s it checked, and what to tell the dispatcher.
struct FillApplyResult {
  FillApplyOutcome outcome = FillApplyOutcome::NoProposal;
  std::vector<std::string> applied;  // the P.O.s checked onto the load, in list order
  std::string message;               // for the dispatcher ("2 P.O.s put on the load, 1 hot.")
};

// The last proposal made for one control, to show and to apply.
class LoadFill {
 public:
  // Proposes the best fill for what the control shows now (within the request's budget) and
  // keeps it for apply(). Limits that cannot be used or a load already over a limit give a
  // proposal with its refusal, and nothing to apply.
  const FillProposal& propose(const OrderPick& control, const TrailerLimits& limits);

  // The request and proposal of the last propose(); nothing once applied or forgotten.
  const std::optional<FillRequest>& request() const { return request_; }
  const std::optional<FillProposal>& proposal() const { return proposal_; }

  // Checks the proposed P.O.s onto the load through the list's user action, once the request
  // for what the control shows now under these limits (none: none set) is still the one
  // proposed for; the proposal is used up either way but for NoProposal.
  FillApplyResult apply(OrderPick& control, const std::optional<TrailerLimits>& limits);

  // Keeps a proposal made elsewhere for this request (a window searching on a thread).
  void keep(FillRequest request, FillProposal proposal);
  // Drops the kept proposal (the dispatcher cancelled it).
  void forget();

 private:
  std::optional<FillRequest> request_;
  std::optional<FillProposal> proposal_;
};

}  // namespace tarvine::tools
