// Peak memory of `tarvine script` opening a load, against the size of the load's all-orders
// reply. The script host runs as a grandchild, under tarvine_peak_rss, so that its peak resident
// size is its own and not the benchmark's.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "BenchLoads.h"
#include "service/RouteOperations.h"

namespace tarvine::bench {
namespace {

constexpr double kGoalRatio = 3.0;

// Runs `tarvine script path` through the peak size helper; returns the script host's peak
// resident size in bytes, or -1 when it could not run or failed.
long long peakOfScript(const std::string& path) {
  const std::string command =
      std::string(TARVINE_PEAK_RSS) + " " + TARVINE_EXECUTABLE + " script '" + path + "'";
  FILE* helper = popen(command.c_str(), "r");
  if (!helper) return -1;
  long long peak = -1;
  if (std::fscanf(helper, "%lld", &peak) != 1) peak = -1;
  return pclose(helper) == 0 ? peak : -1;
}

void BM_ScriptPeakMemory(benchmark::State& state) {
  const int segments = static_cast<int>(state.range(0));
  BenchLoads& loads = BenchLoads::instance();
  const double replyBytes =
      static_cast<double>(loads.reply(service::kGetOutgoingLoadAllOrders.name, segments).size());
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("tarvine-bench-open-" + std::to_string(getpid()) + ".tvs"))
                               .string();
  {
    std::ofstream script(path);
    script << "server " << loads.server() << "\nfacility " << kFacility << "\nperson 7 2\nload "
           << segments << "\n";
  }
  long long peak = 0;
  for (auto _ : state) {
    peak = peakOfScript(path);
    if (peak < 0) {
      state.SkipWithError("tarvine script did not run to its end");
      break;
    }
  }
  std::filesystem::remove(path);
  state.counters["rows"] = segments;
  state.counters["product_mb"] = static_cast<double>(peak) / 1e6;
  state.counters["floor_mb"] = replyBytes / 1e6;
  state.counters["ratio"] = static_cast<double>(peak) / replyBytes;
  state.counters["goal_ratio"] = kGoalRatio;
}

BENCHMARK(BM_ScriptPeakMemory)->Arg(32767)->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvine::bench
