#include "tools/FillSolver.h"

#include <CbcHeuristicLocal.hpp>
#include <CbcModel.hpp>
#include <CbcStrategy.hpp>
#include <CoinPackedMatrix.hpp>
#include <CoinPackedVector.hpp>
#include <OsiClpSolverInterface.hpp>

#include <algorithm>
#include <cmath>

namespace tarvine::tools {
namespace {

constexpr int kSeed = 20261;
// Strong branching on a few variables, trusting pseudo costs after five branches: CBC's own
// default for its branch-and-cut.
constexpr int kStrongBranching = 5;
constexpr int kTrustAfter = 5;

double objectiveOf(const ItemProgram& program, const std::vector<bool>& chosen) {
  double sum = 0;
  for (std::size_t i = 0; i < chosen.size(); ++i) {
    if (chosen[i]) sum += program.objective[i];
  }
  return sum;
}

// Whether the choice keeps every row, allowing the rounding of summing doubles.
bool keepsRows(const ItemProgram& program, const std::vector<bool>& chosen) {
  constexpr double kSlack = 1e-6;
  for (const ItemRow& row : program.rows) {
    double sum = 0;
    for (std::size_t i = 0; i < chosen.size(); ++i) {
      if (chosen[i]) sum += row.coefficients[i];
    }
    if (sum < row.lower - kSlack || sum > row.upper + kSlack) return false;
  }
  return true;
}

OsiClpSolverInterface relaxationOf(const ItemProgram& program) {
  const auto items = static_cast<int>(program.objective.size());
  CoinPackedMatrix matrix(false, 0, 0);
  matrix.setDimensions(0, items);
  std::vector<double> rowLower, rowUpper;
  for (const ItemRow& row : program.rows) {
    CoinPackedVector entries;
    for (int i = 0; i < items; ++i) {
      if (row.coefficients[i] != 0) entries.insert(i, row.coefficients[i]);
    }
    matrix.appendRow(entries);
    rowLower.push_back(std::isfinite(row.lower) ? row.lower : -COIN_DBL_MAX);
    rowUpper.push_back(std::isfinite(row.upper) ? row.upper : COIN_DBL_MAX);
  }
  std::vector<double> columnLower(items, 0.0), columnUpper(items, 1.0);
  for (int i = 0; i < items && !program.excluded.empty(); ++i) {
    if (program.excluded[i]) columnUpper[i] = 0.0;
  }
  OsiClpSolverInterface solver;
  solver.messageHandler()->setLogLevel(0);
  solver.loadProblem(matrix, columnLower.data(), columnUpper.data(), program.objective.data(),
                     rowLower.data(), rowUpper.data());
  for (int i = 0; i < items; ++i) solver.setInteger(i);
  solver.setObjSense(-1.0);  // maximise
  return solver;
}

}  // namespace

ItemChoice chooseItems(const ItemProgram& program, const std::vector<bool>& start,
                       double allowedGap, double fallbackBound,
                       std::chrono::steady_clock::time_point deadline) {
  ItemChoice best{start, objectiveOf(program, start), fallbackBound, false};
  const double seconds =
      std::chrono::duration<double>(deadline - std::chrono::steady_clock::now()).count();
  if (!program.objective.empty() && seconds > 0) {
    OsiClpSolverInterface solver = relaxationOf(program);
    CbcModel model(solver);
    model.setLogLevel(0);
    model.messageHandler()->setLogLevel(0);
    CbcStrategyDefault strategy(1, kStrongBranching, kTrustAfter);
    model.setStrategy(strategy);
    // Swapping items of the best choice finds the near-exact fills these rows reward; heavier
    // heuristics (pump, dives, proximity) cost more time here than they save.
    CbcHeuristicLocal local(model);
    model.addHeuristic(&local);
    model.setRandomSeed(kSeed);
    model.setNumberThreads(0);
    model.setUseElapsedTime(true);
    model.setMaximumSeconds(seconds);
    model.setAllowableGap(allowedGap);
    model.setAllowableFractionGap(0);
    std::vector<double> startValues(start.begin(), start.end());
    model.setBestSolution(startValues.data(), static_cast<int>(startValues.size()), COIN_DBL_MAX,
                          true);
    model.branchAndBound();
    if (const double* found = model.bestSolution()) {
      std::vector<bool> chosen(best.chosen.size());
      for (std::size_t i = 0; i < chosen.size(); ++i) chosen[i] = found[i] > 0.5;
      const double value = objectiveOf(program, chosen);
      if (value > best.value && keepsRows(program, chosen)) best = {chosen, value, best.bound};
    }
    const double bound = model.getBestPossibleObjValue();
    if (std::isfinite(bound)) best.bound = std::min(best.bound, std::max(bound, best.value));
  }
  best.proven = best.bound - best.value <= allowedGap;
  return best;
}

}  // namespace tarvine::tools
