#pragma once
// A choice of items, each taken whole or not at all, that maximises a linear objective under
// linear rows, solved by COIN-OR CBC (branch and cut over Clp) within a deadline. One thread, a
// fixed seed: the same program and start give the same answer whenever it is proven in time.

#include <chrono>
#include <limits>
#include <vector>

namespace tarvine::tools {

// One row: lower <= sum of coefficients[i] over the chosen items i <= upper.
struct ItemRow {
  std::vector<double> coefficients;  // one per item
  double lower = -std::numeric_limits<double>::infinity();
  double upper = std::numeric_limits<double>::infinity();
};

// What is maximised and under which rows; items with `excluded` set are never chosen.
struct ItemProgram {
  std::vector<double> objective;  // one per item
  std::vector<ItemRow> rows;
  std::vector<bool> excluded;  // empty: every item may be chosen
};

// The best choice found and what the search proved about it.
struct ItemChoice {
  std::vector<bool> chosen;  // one per item
  double value = 0;          // the objective of `chosen`
  double bound = 0;          // no feasible choice has an objective above this
  bool proven = false;       // bound - value <= the gap allowed
};

// Maximises the program's objective, starting from `start` (which must satisfy every row),
// until no choice can beat the best found by more than allowedGap or the deadline passes. The
// answer is never worse than `start`; without a proof from the solver, `bound` is `fallbackBound`.
ItemChoice chooseItems(const ItemProgram& program, const std::vector<bool>& start,
                       double allowedGap, double fallbackBound,
                       std::chrono::steady_clock::time_point deadline);

}  // namespace tarvine::tools
