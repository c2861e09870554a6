#include "tools/LoadFill.h"

#include <tuple>
#include <unordered_map>

#include "tools/FindOrder.h"
#include "tools/LoadFigures.h"

namespace tarvine::tools {
namespace {

std::string appliedMessage(std::size_t orders, int hot) {
  if (orders == 0) return "Nothing was added: no P.O. of the list fits the trailer.";
  std::string text =
      std::to_string(orders) + (orders == 1 ? " P.O." : " P.O.s") + " put on the load";
  if (hot > 0) text += ", " + std::to_string(hot) + " hot";
  return text + ".";
}

}  // namespace

FillRequest fillRequest(const OrderPick& control, const TrailerLimits& limits) {
  FillRequest request;
  request.limits = limits;
  const std::vector<OrderFigures> orders = orderFigures(control.orders(), onThisLoadNow(control));
  request.onLoad = onLoadTotal(orders);
  std::unordered_map<std::string, bool> hot;
  for (const OrderFigures& order : orders) hot.emplace(order.id, order.hot);

  const ListView& list = control.widgets().lvwOrderIDs;
  std::unordered_map<std::string, std::size_t> candidateOf;
  for (RowId row : list.order()) {
    const ListRow& shown = list.row(row);
    if (shown.checked) continue;
    const auto [found, added] = candidateOf.emplace(shown.text, request.candidates.size());
    if (added) {
      const auto known = hot.find(shown.text);
      request.candidates.push_back({shown.text, known != hot.end() && known->second, {}});
    }
    if (const AllOrdersUDT* record = control.recordOfRow(row)) {
      request.candidates[found->second].remaining += segmentFigures(*record);
    }
  }
  return request;
}

std::vector<std::string> chosenOrders(const FillRequest& request, const FillProposal& proposal) {
  std::vector<std::string> ids;
  for (std::size_t index : proposal.chosen) ids.push_back(request.candidates.at(index).id);
  return ids;
}

const FillProposal& LoadFill::propose(const OrderPick& control, const TrailerLimits& limits) {
  FillRequest request = fillRequest(control, limits);
  FillProposal proposal = proposeFill(request);
  keep(std::move(request), std::move(proposal));
  return *proposal_;
}

void LoadFill::keep(FillRequest request, FillProposal proposal) {
  request_ = std::move(request);
  proposal_ = std::move(proposal);
}

void LoadFill::forget() {
  request_.reset();
  proposal_.reset();
}

FillApplyResult LoadFill::apply(OrderPick& control, const std::optional<TrailerLimits>& limits) {
  if (!request_ || !proposal_ || !proposal_->refusal.empty()) {
    forget();
    return {FillApplyOutcome::NoProposal, {}, "There is no fill proposal to apply."};
  }
  const FillRequest proposedFor = std::move(*request_);
  const FillProposal proposal = std::move(*proposal_);
  forget();
  // The same question asked now: the same P.O.s with the same figures, load and limits.
  const auto asked = [](const FillRequest& r) {
    return std::tie(r.candidates, r.onLoad, r.limits);
  };
  if (!limits || asked(proposedFor) != asked(fillRequest(control, *limits))) {
    return {FillApplyOutcome::Changed,
            {},
            "The list, the load or the trailer's limits changed since the proposal; nothing was "
            "added. Ask for a new one."};
  }

  // The first unchecked row of each proposed P.O., found in one pass: checking rows moves none.
  const std::vector<std::string> ids = chosenOrders(proposedFor, proposal);
  std::unordered_map<std::string, std::size_t> firstUnchecked;
  for (const std::string& id : ids) firstUnchecked.emplace(id, 0);
  ListView& list = control.widgets().lvwOrderIDs;
  std::size_t position = 0;
  for (RowId row : list.order()) {
    ++position;
    const ListRow& shown = list.row(row);
    const auto wanted = firstUnchecked.find(shown.text);
    if (wanted != firstUnchecked.end() && wanted->second == 0 && !shown.checked) {
      wanted->second = position;
    }
  }

  FillApplyResult result{FillApplyOutcome::Applied, {}, {}};
  for (const std::string& id : ids) {
    const std::size_t at = firstUnchecked.at(id);
    const auto stillThere = [&] {
      return at > 0 && at <= list.rowCount() && list.row(list.order()[at - 1]).text == id;
    };
    if (stillThere() && !list.row(list.order()[at - 1]).checked) list.userToggleCheck(at);
    if (!stillThere() || !list.row(list.order()[at - 1]).checked) {
      result.outcome = FillApplyOutcome::NotPicked;
      result.message = scanMessage(id, ScanOutcome::NotPicked);
      return result;
    }
    result.applied.push_back(id);
  }
  result.message = appliedMessage(result.applied.size(), proposal.hotAdded);
  return result;
}

}  // namespace tarvine::tools
