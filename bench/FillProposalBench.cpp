// The fill proposal on the generated loads: its time against its one-second budget and the gap
// it proves, for every segment count; and the time to a proven best fill for the first 100 to
// 2,000 P.O.s of the largest load. The generated P.O.s are all candidates (none on the load).

#include <benchmark/benchmark.h>

#include "BenchLoads.h"
#include "PairedSamples.h"
#include "ReplyProcessing.h"
#include "platform/Convert.h"
#include "service/RouteOperations.h"
#include "tools/FillProposal.h"

namespace tarvine::bench {
namespace {

// A 53-foot dry van's limits.
constexpr tools::TrailerLimits kLimits{44000, 3800, 1100};
constexpr double kBudgetMs = 1000;
constexpr std::size_t kProvenUpTo = 2000;

// The generated load's P.O.s as candidates: its segments grouped by P.O., in list order.
std::vector<tools::FillCandidate> candidatesOf(int segments) {
  const std::string_view operation = service::kGetOutgoingLoadAllOrders.name;
  const OrderArray orders =
      readOrders(dataSetTextOf(BenchLoads::instance().reply(operation, segments), operation));
  std::vector<tools::FillCandidate> candidates;
  for (std::size_t i = 0; i < filledCount(orders); ++i) {
    const AllOrdersUDT& segment = orders[i];
    if (candidates.empty() || candidates.back().id != segment.OrderID) {
      candidates.push_back({segment.OrderID, segment.HotItem != 0, {}});
    }
    tools::FillFigures& sum = candidates.back().remaining;
    sum.weight += segment.Weight;
    sum.cube += convert::parseNumber(segment.CubicFeet).value_or(0);
    sum.cartons += segment.Cartons;
  }
  return candidates;
}

// Runs the proposal once per iteration and reports its median and slowest time, the largest gap (-1
// when the hot count was not proven) and whether every run was the best fill.
void measure(benchmark::State& state, const tools::FillRequest& request, int size,
             bool mustBeBest) {
  PairedSamples samples;
  double worstGap = 0;
  double slowest = 0;
  bool allBest = true;
  for (auto _ : state) {
    const auto start = Clock::now();
    const tools::FillProposal proposal = tools::proposeFill(request);
    const double seconds = secondsSince(start);
    if (!proposal.refusal.empty() || proposal.chosen.empty()) {
      state.SkipWithError("nothing was proposed");
      break;
    }
    worstGap = proposal.gap ? std::max(worstGap, *proposal.gap) : -1;
    allBest = allBest && proposal.optimal;
    slowest = std::max(slowest, seconds);
    state.SetIterationTime(seconds);
    samples.add(seconds);
  }
  samples.report(state, size, 0, kBudgetMs);
  state.counters["max_ms"] = slowest * 1000;
  state.counters["candidates"] = static_cast<double>(request.candidates.size());
  state.counters["gap"] = worstGap;
  state.counters["best"] = allBest ? 1 : 0;
  state.counters["goal_best"] = mustBeBest ? 1 : 0;
}

void BM_FillProposal(benchmark::State& state) {
  const int segments = static_cast<int>(state.range(0));
  const tools::FillRequest request{candidatesOf(segments), {}, kLimits};
  measure(state, request, segments, request.candidates.size() <= kProvenUpTo);
}

void BM_FillProvenBest(benchmark::State& state) {
  std::vector<tools::FillCandidate> all = candidatesOf(kSizes.back());
  all.resize(std::min(all.size(), static_cast<std::size_t>(state.range(0))));
  measure(state, {all, {}, kLimits}, kSizes.back(), true);
}

BENCHMARK(BM_FillProposal)
    ->Arg(1000)
    ->Arg(8000)
    ->Arg(32767)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(BM_FillProvenBest)
    ->Arg(100)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace
}  // namespace tarvine::bench
