// Opening a load end to end (PutTarvineID) against the reference route service on 127.0.0.1.
// Floor: the same four exchanges with plain libcurl, each reply parsed once by pugixml.

#include <benchmark/benchmark.h>

#include "BenchLoads.h"
#include "PairedSamples.h"
#include "PlainSoapClient.h"
#include "control/TarvineOrderPick.h"
#include "platform/Dialogs.h"
#include "platform/EventLog.h"
#include "service/RouteOperations.h"

namespace tarvine::bench {
namespace {

constexpr double kGoalRatio = 1.5;

// The four queries of PutTarvineID, in the order the control sends them.
constexpr std::string_view kOpenQueries[] = {
    service::kGetOutgoingLoadCenterIDAndCenter.name,
    service::kGetOutgoingLoadDescriptionRoute.name,
    service::kGetOutgoingLoadAllOrders.name,
    service::kGetOutgoingLoadBasicTotal.name,
};

void BM_OpenLoad(benchmark::State& state) {
  const int segments = static_cast<int>(state.range(0));
  BenchLoads& loads = BenchLoads::instance();
  loads.ensureLoad(segments);
  RecordingDialogs dialogs;
  MemoryEventLog log;
  TarvineOrderPick control(dialogs, log);
  control.PutServerName(loads.server());
  control.SetFacilityID(std::string(kFacility));
  std::vector<std::string> envelopes;
  for (std::string_view query : kOpenQueries) envelopes.push_back(queryEnvelope(query, segments));

  PairedSamples samples;
  alternateWithFloor(
      state, samples, [&] { control.PutTarvineID(segments); },
      [&] {
        for (std::size_t i = 0; i < envelopes.size(); ++i) {
          plainSoapExchange(control.webServiceURL(), soapActionOf(kOpenQueries[i]), envelopes[i]);
        }
      },
      [&] {
        return control.widgets().lvwOrderIDs.rowCount() == static_cast<std::size_t>(segments) &&
               log.entries().empty();
      },
      "the load did not open with one row per segment");
  samples.report(state, segments, kGoalRatio, 0);
}

BENCHMARK(BM_OpenLoad)
    ->Arg(1000)
    ->Arg(8000)
    ->Arg(32767)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

}  // namespace
}  // namespace tarvine::bench
