// Reply processing without the network: an all-orders reply as the reference route service
// writes it, taken through the transport's parse and data set text (clean-up, envelope strip and
// unwrapping), the order loading and the all-centers fill with its totals. Floor: one pugixml parse
// of the same body. Both are timed in thread CPU time.

#include <benchmark/benchmark.h>

#include <pugixml.hpp>

#include "BenchLoads.h"
#include "ControlAccess.h"
#include "PairedSamples.h"
#include "ReplyProcessing.h"
#include "platform/Dialogs.h"
#include "platform/EventLog.h"
#include "service/RouteOperations.h"

namespace tarvine::bench {
namespace {

constexpr double kGoalRatio = 4.0;

void BM_ReplyProcessing(benchmark::State& state) {
  const int segments = static_cast<int>(state.range(0));
  BenchLoads& loads = BenchLoads::instance();
  const std::string& body = loads.reply(service::kGetOutgoingLoadAllOrders.name, segments);
  RecordingDialogs dialogs;
  MemoryEventLog log;
  TarvineOrderPick control(dialogs, log);
  TarvineOrderPickTestAccess::loadCenters(
      control, dataSetTextOf(loads.reply(service::kGetOutgoingLoadCenterIDAndCenter.name, segments),
                             service::kGetOutgoingLoadCenterIDAndCenter.name));

  PairedSamples samples;
  std::vector<double> transport, reading, filling;
  bool floorFirst = false;
  for (auto _ : state) {
    double floorSeconds = 0;
    auto runFloor = [&] {
      const double start = threadCpuSeconds();
      pugi::xml_document document;
      benchmark::DoNotOptimize(document.load_buffer(body.data(), body.size()));
      floorSeconds = threadCpuSeconds() - start;
    };
    if (floorFirst) runFloor();
    const double start = threadCpuSeconds();
    std::string result = dataSetTextOf(body, service::kGetOutgoingLoadAllOrders.name);
    const double transportSeconds = threadCpuSeconds() - start;
    OrderArray orders = readOrders(std::move(result));
    const double readSeconds = threadCpuSeconds() - start - transportSeconds;
    const std::size_t records = orders.size() - 1;
    TarvineOrderPickTestAccess::fillAllCenters(control, std::move(orders));
    const double productSeconds = threadCpuSeconds() - start;
    if (!floorFirst) runFloor();
    floorFirst = !floorFirst;

    if (records != static_cast<std::size_t>(segments) ||
        control.widgets().lvwOrderIDs.rowCount() != records || !log.entries().empty()) {
      state.SkipWithError("the reply did not give one listed row per segment");
      break;
    }
    state.SetIterationTime(productSeconds);
    samples.add(productSeconds, floorSeconds);
    transport.push_back(transportSeconds);
    reading.push_back(readSeconds);
    filling.push_back(productSeconds - transportSeconds - readSeconds);
  }
  samples.report(state, segments, kGoalRatio, 0);
  state.counters["reply_bytes"] = static_cast<double>(body.size());
  state.counters["transport_ms"] = median(transport) * 1000;
  state.counters["read_ms"] = median(reading) * 1000;
  state.counters["fill_ms"] = median(filling) * 1000;
}

BENCHMARK(BM_ReplyProcessing)
    ->Arg(1000)
    ->Arg(8000)
    ->Arg(32767)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

}  // namespace
}  // namespace tarvine::bench
