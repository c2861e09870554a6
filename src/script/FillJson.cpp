#include "script/FillJson.h"

#include <cmath>

namespace tarvine::script {
namespace {

using nlohmann::json;

// Sums of many segments carry the binary fractions' noise; a millionth is far below any unit.
double rounded(double figure) {
  return std::round(figure * 1e6) / 1e6;
}

}  // namespace

json suggestionJson(const tools::FillRequest& request, const tools::FillProposal& proposal) {
  if (!proposal.refusal.empty()) return {{"type", "suggestion"}, {"error", proposal.refusal}};
  return {{"type", "suggestion"},
          {"orders", tools::chosenOrders(request, proposal)},
          {"hot", proposal.hotAdded},
          {"weight", rounded(proposal.after.weight)},
          {"cube", rounded(proposal.after.cube)},
          {"cartons", rounded(proposal.after.cartons)},
          {"optimal", proposal.optimal},
          {"gap", proposal.gap ? json(*proposal.gap) : json(nullptr)},
          {"quality", tools::fillQuality(proposal)}};
}

json appliedJson(const tools::FillApplyResult& result) {
  const bool applied = result.outcome == tools::FillApplyOutcome::Applied;
  return {{"type", "applied"},
          {"orders", result.applied},
          {applied ? "status" : "error", result.message}};
}

}  // namespace tarvine::script
