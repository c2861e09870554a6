#pragma once
// The best fill of a trailer: which P.O.s to add to a load so that it carries the most hot P.O.s
// and then the most weight, without passing any limit. Works on plain figures, so the window,
// the script host and the C interface can all ask it; COIN-OR CBC does the search.
//
// What "best" and "the gap" mean:
// - Feasible: what is on the load plus the chosen P.O.s stays within every limit given (weight,
//   cube, and cartons when limited). P.O.s are taken whole; nothing on the load is taken off.
// - Best: first the most hot P.O.s added, then the most weight on the truck (what is on the load
//   plus what is added). Among choices that tie, any one may be proposed.
// - The hot count is proven when no feasible choice adds more hot P.O.s (hotPossible equals
//   hotAdded). With the hot count proven, the gap is (B - W) / B: W the truck's weight after
//   the proposal, B the most the truck can weigh with that many hot P.O.s added, as far as the
//   search has proven (never above the weight limit). A gap of at most 0.01 % (at most 4.4 lb
//   on a 44,000 lb limit, the tolerance MIP solvers commonly call optimal) is the best fill.
// - When even the hot count is not proven, there is no weight gap: the proposal tells how many
//   more hot P.O.s the search could not rule out instead.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "tools/TrailerLimits.h"

namespace tarvine::tools {

// Weight, cube and cartons together: of a P.O.'s segments, of a load, of a trailer.
struct FillFigures {
  double weight = 0;   // pounds
  double cube = 0;     // cubic feet
  double cartons = 0;  // number of parcels

  // Adds other's figures to these.
  FillFigures& operator+=(const FillFigures& other) {
    weight += other.weight, cube += other.cube, cartons += other.cartons;
    return *this;
  }
  // Equal when all three figures are.
  bool operator==(const FillFigures&) const = default;
};

// A P.O. that is not wholly on the load, with the sums of its segments that are not on it.
struct FillCandidate {
  std::string id;
  bool hot = false;
  FillFigures remaining;

  // Equal when id, hot flag and figures are.
  bool operator==(const FillCandidate&) const = default;
};

// What the proposal is asked for.
struct FillRequest {
  std::vector<FillCandidate> candidates;  // in list order
  FillFigures onLoad;                     // sums of the segments on the load now
  TrailerLimits limits;
  std::chrono::milliseconds budget{1000};  // the search stops after this long
};

// The largest gap that still counts as the best fill.
inline constexpr double kBestFillGap = 1e-4;

// The proposal and what is known about it.
struct FillProposal {
  std::vector<std::size_t> chosen;  // indexes into the request's candidates, ascending
  int hotAdded = 0;                 // hot P.O.s among the chosen
  FillFigures after;                // the trailer's figures with the chosen P.O.s added
  int hotPossible = 0;              // the most hot P.O.s any feasible choice adds, as far as proven
  std::optional<double> gap;        // with the hot count proven: the weight gap (0.003 = 0.3 %)
  bool optimal = false;             // hot count proven and gap <= kBestFillGap
  std::string refusal;              // why nothing can be proposed (then chosen is empty)
};

// The best fill found within the request's budget (the budget is held, the search stopping
// where it is). Input that cannot be used (limits that limitsProblem() refuses, a figure that is
// negative or not a number) and a load already over a limit give an empty proposal with the
// reason in `refusal`; it never throws for bad input.
FillProposal proposeFill(const FillRequest& request);

// For the dispatcher: "best fill", "within 0.3 % of the best fill" (the gap rounded up to a
// tenth of a percent), or "up to 2 more hot P.O.s may fit"; the refusal when there is one.
std::string fillQuality(const FillProposal& proposal);

}  // namespace tarvine::tools
