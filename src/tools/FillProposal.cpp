#include "tools/FillProposal.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "tools/FillSolver.h"
#include "tools/SheetText.h"

namespace tarvine::tools {
namespace {

using Clock = std::chrono::steady_clock;

// The rounding that summing doubles may add to a figure within a limit.
constexpr double kSlack = 1e-6;

// The room left in each limited resource; cartons unlimited leave infinite room.
using Room = std::array<double, 3>;
constexpr std::array<const char*, 3> kResourceNames{"weight", "cube", "carton"};

std::array<double, 3> figuresOf(const FillFigures& figures) {
  return {figures.weight, figures.cube, figures.cartons};
}

std::optional<std::string> inputProblem(const FillRequest& request) {
  if (auto problem = limitsProblem(request.limits)) return problem;
  const auto bad = [](const FillFigures& figures) {
    const auto values = figuresOf(figures);
    return std::any_of(values.begin(), values.end(),
                       [](double v) { return !std::isfinite(v) || v < 0; });
  };
  if (bad(request.onLoad)) {
    return "the load's weight, cube and cartons must be numbers of 0 or more";
  }
  for (const FillCandidate& candidate : request.candidates) {
    if (bad(candidate.remaining)) {
      return "P.O. " + candidate.id +
             " has a weight, cube or carton count that is not a number of 0 or more";
    }
  }
  return std::nullopt;
}

Room roomOf(const FillRequest& request) {
  const TrailerLimits& limits = request.limits;
  const double cartons = limits.cartons ? *limits.cartons : std::numeric_limits<double>::infinity();
  return {limits.weight - request.onLoad.weight, limits.cube - request.onLoad.cube,
          cartons - request.onLoad.cartons};
}

// "the load is already over the trailer's weight and cube limits", or empty.
std::string overText(const Room& room) {
  std::vector<std::string> over;
  for (std::size_t r = 0; r < room.size(); ++r) {
    if (room[r] < -kSlack) over.emplace_back(kResourceNames[r]);
  }
  if (over.empty()) return {};
  std::string names = over[0];
  for (std::size_t i = 1; i < over.size(); ++i) {
    names += (i + 1 == over.size() ? " and " : ", ") + over[i];
  }
  return "the load is already over the trailer's " + names +
         (over.size() > 1 ? " limits" : " limit");
}

// The largest share of the room a candidate takes in any resource (above 1: it cannot fit).
double footprint(const FillFigures& figures, const Room& room) {
  const auto values = figuresOf(figures);
  double share = 0;
  for (std::size_t r = 0; r < room.size(); ++r) {
    if (values[r] > room[r] + kSlack) return std::numeric_limits<double>::infinity();
    if (values[r] > 0) share = std::max(share, values[r] / std::max(room[r], kSlack));
  }
  return share;
}

// Adds candidates in the order given while they fit: the search's first answer.
void addGreedily(const FillRequest& request, const std::vector<std::size_t>& order, Room room,
                 std::vector<bool>& chosen) {
  for (std::size_t i = 0; i < chosen.size(); ++i) {
    if (!chosen[i]) continue;
    const auto values = figuresOf(request.candidates[i].remaining);
    for (std::size_t r = 0; r < room.size(); ++r) room[r] -= values[r];
  }
  for (std::size_t i : order) {
    if (chosen[i]) continue;
    const auto values = figuresOf(request.candidates[i].remaining);
    bool fits = true;
    for (std::size_t r = 0; r < room.size(); ++r) fits = fits && values[r] <= room[r] + kSlack;
    if (!fits) continue;
    chosen[i] = true;
    for (std::size_t r = 0; r < room.size(); ++r) room[r] -= values[r];
  }
}

// The resource rows (cartons only when limited), and candidates too big to fit alone excluded.
ItemProgram programOf(const FillRequest& request, const Room& room) {
  const std::size_t count = request.candidates.size();
  ItemProgram program;
  program.objective.assign(count, 0.0);
  program.excluded.assign(count, false);
  for (std::size_t r = 0; r < room.size(); ++r) {
    if (!std::isfinite(room[r])) continue;
    ItemRow row;
    row.upper = room[r];
    for (const FillCandidate& candidate : request.candidates) {
      row.coefficients.push_back(figuresOf(candidate.remaining)[r]);
    }
    program.rows.push_back(std::move(row));
  }
  for (std::size_t i = 0; i < count; ++i) {
    program.excluded[i] = !std::isfinite(footprint(request.candidates[i].remaining, room));
  }
  return program;
}

// The most hot P.O.s: candidates that are not hot are left out of this search.
ItemChoice mostHot(const FillRequest& request, ItemProgram program, const Room& room,
                   Clock::time_point deadline) {
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < request.candidates.size(); ++i) {
    const bool hot = request.candidates[i].hot;
    program.objective[i] = hot ? 1.0 : 0.0;
    program.excluded[i] = program.excluded[i] || !hot;
    if (!program.excluded[i]) order.push_back(i);
  }
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return footprint(request.candidates[a].remaining, room) <
           footprint(request.candidates[b].remaining, room);
  });
  std::vector<bool> start(request.candidates.size(), false);
  addGreedily(request, order, room, start);
  // Counts are whole: a bound below one more than the best found proves it.
  constexpr double kBelowOne = 1.0 - 1e-6;
  return chooseItems(program, start, kBelowOne, static_cast<double>(order.size()), deadline);
}

// The most weight with at least `hot` hot P.O.s, starting from the hot choice.
ItemChoice mostWeight(const FillRequest& request, ItemProgram program, const Room& room,
                      std::vector<bool> start, int hot, Clock::time_point deadline) {
  const std::size_t count = request.candidates.size();
  std::vector<std::size_t> order;
  double total = 0;
  for (std::size_t i = 0; i < count; ++i) {
    program.objective[i] = request.candidates[i].remaining.weight;
    if (program.excluded[i]) continue;
    order.push_back(i);
    total += program.objective[i];
  }
  if (hot > 0) {
    ItemRow row;
    row.lower = hot;
    for (const FillCandidate& candidate : request.candidates) {
      row.coefficients.push_back(candidate.hot ? 1.0 : 0.0);
    }
    program.rows.push_back(std::move(row));
  }
  // Heaviest for the room it takes first.
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const FillFigures& fa = request.candidates[a].remaining;
    const FillFigures& fb = request.candidates[b].remaining;
    return fa.weight * footprint(fb, room) > fb.weight * footprint(fa, room);
  });
  addGreedily(request, order, room, start);
  double startWeight = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (start[i]) startWeight += program.objective[i];
  }
  // The gap allowed on the added weight, so that the truck's gap stays within kBestFillGap.
  const double allowed = kBestFillGap * (request.onLoad.weight + startWeight);
  return chooseItems(program, start, allowed, std::min(total, room[0]), deadline);
}

}  // namespace

FillProposal proposeFill(const FillRequest& request) {
  // The search stops at nine tenths of the budget: the solver's last step and the bookkeeping
  // of the answer fit in the rest.
  const Clock::time_point deadline = Clock::now() + request.budget * 9 / 10;
  FillProposal proposal;
  proposal.after = request.onLoad;
  if (auto problem = inputProblem(request)) {
    proposal.refusal = *problem;
    return proposal;
  }
  const Room room = roomOf(request);
  proposal.refusal = overText(room);
  if (!proposal.refusal.empty()) return proposal;

  const ItemProgram program = programOf(request, room);
  const ItemChoice hot = mostHot(request, program, room, deadline);
  const int hotFound = static_cast<int>(std::lround(hot.value));
  const ItemChoice weight = mostWeight(request, program, room, hot.chosen, hotFound, deadline);

  for (std::size_t i = 0; i < request.candidates.size(); ++i) {
    if (!weight.chosen[i]) continue;
    const FillCandidate& candidate = request.candidates[i];
    proposal.chosen.push_back(i);
    proposal.hotAdded += candidate.hot ? 1 : 0;
    proposal.after += candidate.remaining;
  }
  proposal.hotPossible =
      std::max(proposal.hotAdded, static_cast<int>(std::floor(hot.bound + 1e-6)));
  if (proposal.hotPossible == proposal.hotAdded) {
    const double best = request.onLoad.weight + weight.bound;
    proposal.gap = best > 0 ? std::max(0.0, (best - proposal.after.weight) / best) : 0.0;
    proposal.optimal = *proposal.gap <= kBestFillGap;
  }
  return proposal;
}

std::string fillQuality(const FillProposal& proposal) {
  if (!proposal.refusal.empty()) return proposal.refusal;
  if (proposal.optimal) return "best fill";
  if (proposal.gap) {
    // Rounded up, so the text never claims more than was proven.
    const double tenths = std::ceil(*proposal.gap * 1000.0 - 1e-9) / 10.0;
    return "within " + groupedAmount(tenths) + " % of the best fill";
  }
  const int more = proposal.hotPossible - proposal.hotAdded;
  return "up to " + std::to_string(more) + " more hot P.O." + (more == 1 ? " may" : "s may") +
         " fit";
}

}  // namespace tarvine::tools
