#pragma once
// Product and floor measured side by side in one benchmark, so that the noise of a shared
// machine hits both alike: medians of both and their ratio become the benchmark's counters.

#include <benchmark/benchmark.h>

#include <time.h>

#include <chrono>
#include <functional>
#include <vector>

namespace tarvine::bench {

using Clock = std::chrono::steady_clock;

// Wall-clock seconds since start: for work that waits on a server.
inline double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The calling thread's CPU time in seconds: for work that runs on this thread alone, where it
// does not count the time other programs of a shared machine take the processor away.
inline double threadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The CPU time of all threads of this process in seconds: for work split over threads, where a
// busy machine stretches the wall time but not the work.
inline double processCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

class PairedSamples {
 public:
  // One iteration's times in seconds; a floor of 0 means the benchmark has no floor.
  void add(double productSeconds, double floorSeconds = 0);
  // Sets the counters rows, product_ms, floor_ms and ratio (product / floor medians) and the
  // goals: goal_ratio (the largest ratio allowed, 0 = none) and goal_ms (the largest product
  // median allowed, 0 = none).
  void report(benchmark::State& state, int rows, double goalRatio, double goalMs) const;

 private:
  std::vector<double> product_;
  std::vector<double> floor_;
};

// Runs product and floor once untimed, then once per iteration, each first in turn (so that
// neither always meets a warm cache), timed in wall time; the product's time is the iteration's.
// Stops the benchmark with `failure` as soon as intact() is false after the product.
void alternateWithFloor(benchmark::State& state, PairedSamples& samples,
                        const std::function<void()>& product, const std::function<void()>& floor,
                        const std::function<bool()>& intact, const char* failure);

// The median of the values (0 for none).
double median(std::vector<double> values);

}  // namespace tarvine::bench
