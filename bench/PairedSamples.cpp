#include "PairedSamples.h"

#include <algorithm>

namespace tarvine::bench {

double median(std::vector<double> values) {
  if (values.empty()) return 0;
  const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  if (values.size() % 2 == 1) return *middle;
  return (*middle + *std::max_element(values.begin(), middle)) / 2;
}

void PairedSamples::add(double productSeconds, double floorSeconds) {
  product_.push_back(productSeconds);
  floor_.push_back(floorSeconds);
}

void PairedSamples::report(benchmark::State& state, int rows, double goalRatio,
                           double goalMs) const {
  const double product = median(product_) * 1000;
  const double floor = median(floor_) * 1000;
  state.counters["rows"] = rows;
  state.counters["product_ms"] = product;
  state.counters["floor_ms"] = floor;
  state.counters["ratio"] = floor > 0 ? product / floor : 0;
  state.counters["goal_ratio"] = goalRatio;
  state.counters["goal_ms"] = goalMs;
}

void alternateWithFloor(benchmark::State& state, PairedSamples& samples,
                        const std::function<void()>& product, const std::function<void()>& floor,
                        const std::function<bool()>& intact, const char* failure) {
  // One untimed run of each first: the first run of a process pays for cold caches.
  product();
  floor();
  bool floorFirst = false;
  for (auto _ : state) {
    double floorSeconds = 0;
    auto runFloor = [&] {
      const auto start = Clock::now();
      floor();
      floorSeconds = secondsSince(start);
    };
    if (floorFirst) runFloor();
    const auto start = Clock::now();
    product();
    const double productSeconds = secondsSince(start);
    if (!floorFirst) runFloor();
    floorFirst = !floorFirst;
    if (!intact()) {
      state.SkipWithError(failure);
      break;
    }
    state.SetIterationTime(productSeconds);
    samples.add(productSeconds, floorSeconds);
  }
}

}  // namespace tarvine::bench
