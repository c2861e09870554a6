// Opening a load end to end (PutTarvineID) against the reference route service on 127.0.0.1.
// Floor: the same four exchanges with plain libcurl, each reply parsed once by pugixml. Side by
// side: a Python client (urllib and lxml, bench/python_client.py) opening the same load.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

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
// Ours against the Python client: at most this share of its time.
constexpr double kPythonGoalRatio = 0.3;

// The four queries of PutTarvineID, in the order the control sends them.
constexpr std::string_view kOpenQueries[] = {
    service::kGetOutgoingLoadCenterIDAndCenter.name,
    service::kGetOutgoingLoadDescriptionRoute.name,
    service::kGetOutgoingLoadAllOrders.name,
    service::kGetOutgoingLoadBasicTotal.name,
};

// A control on the benchmark service, and the generated load of that size.
struct LoadControl {
  RecordingDialogs dialogs;
  MemoryEventLog log;
  TarvineOrderPick control{dialogs, log};
  int segments;

  explicit LoadControl(int size) : segments(size) {
    BenchLoads& loads = BenchLoads::instance();
    loads.ensureLoad(segments);
    control.PutServerName(loads.server());
    control.SetFacilityID(std::string(kFacility));
  }
  // The load is shown with one row per segment and nothing was reported.
  bool showsLoad() const {
    return control.widgets().lvwOrderIDs.rowCount() == static_cast<std::size_t>(segments) &&
           log.entries().empty();
  }
};

void BM_OpenLoad(benchmark::State& state) {
  const int segments = static_cast<int>(state.range(0));
  LoadControl open(segments);
  TarvineOrderPick& control = open.control;
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
      [&] { return open.showsLoad(); }, "the load did not open with one row per segment");
  samples.report(state, segments, kGoalRatio, 0);
}

// Runs the Python client on the request file; its own timing of the four queries in seconds, or
// -1 when it failed or read fewer rows than `rows`. The system's interpreter, where python3-lxml
// is.
double pythonClientSeconds(const std::string& requests, int rows) {
  const std::string command =
      "/usr/bin/python3 " TARVINE_BENCH_DIR "/python_client.py '" + requests + "'";
  FILE* client = popen(command.c_str(), "r");
  if (!client) return -1;
  double seconds = -1;
  long long read = 0;
  if (std::fscanf(client, "%lf %lld", &seconds, &read) != 2 || read < rows) seconds = -1;
  return pclose(client) == 0 ? seconds : -1;
}

void BM_PythonClient(benchmark::State& state) {
  const int segments = static_cast<int>(state.range(0));
  LoadControl open(segments);
  TarvineOrderPick& control = open.control;
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("tarvine-bench-python-" + std::to_string(getpid()) + ".txt"))
                               .string();
  {
    std::ofstream requests(path);
    requests << control.webServiceURL() << "\n";
    for (std::string_view query : kOpenQueries) {
      std::string envelope = queryEnvelope(query, segments);
      for (std::size_t at = 0; (at = envelope.find('\n', at)) != std::string::npos; at += 2) {
        envelope.replace(at, 1, "\\n");
      }
      requests << soapActionOf(query) << '\t' << envelope << '\n';
    }
  }
  // The Python client's time is its own timing, without the interpreter's start.
  control.PutTarvineID(segments);
  PairedSamples samples;
  for (auto _ : state) {
    const double python = pythonClientSeconds(path, segments);
    const auto start = Clock::now();
    control.PutTarvineID(segments);
    const double ours = secondsSince(start);
    if (python < 0 || !open.showsLoad()) {
      state.SkipWithError(
          "the load did not open with one row per segment, or the Python client failed");
      break;
    }
    state.SetIterationTime(ours);
    samples.add(ours, python);
  }
  std::filesystem::remove(path);
  samples.report(state, segments, kPythonGoalRatio, 0);
}

BENCHMARK(BM_OpenLoad)
    ->Arg(1000)
    ->Arg(8000)
    ->Arg(32767)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK(BM_PythonClient)
    ->Arg(32767)
    ->Iterations(7)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvine::bench
