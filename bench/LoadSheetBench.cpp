// The load sheet of a 32,767-segment load, every segment picked. CSV: building the sheet and
// writing it, against the floor of writing the same bytes alone; goal under a second. PDF: peak
// memory of `tarvine sheet --pdf`, against the same command writing CSV (the load in memory).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "BenchLoads.h"
#include "DiscardingService.h"
#include "PairedSamples.h"
#include "control/TarvineOrderPick.h"
#include "platform/Dialogs.h"
#include "platform/EventLog.h"
#include "tools/LoadSheetCsv.h"

namespace tarvine::bench {
namespace {

constexpr int kRows = 32767;
constexpr double kCsvGoalMs = 1000.0;
constexpr double kPdfGoalRatio = 3.0;

std::string tempPath(const char* name) {
  return (std::filesystem::temp_directory_path() /
          ("tarvine-bench-" + std::to_string(getpid()) + "-" + name))
      .string();
}

void BM_LoadSheetCsv(benchmark::State& state) {
  DiscardingService service{kRows};
  RecordingDialogs dialogs;
  MemoryEventLog log;
  TarvineOrderPick control{dialogs, log};
  control.PutServerName(service.server());
  control.SetFacilityID(std::string(kFacility));
  control.SetPersonInformation("7", "2");
  control.PutTarvineID(kRows);
  const std::string path = tempPath("sheet.csv");
  PairedSamples samples;
  std::size_t segments = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    const tools::LoadSheet sheet = tools::buildLoadSheet(control, tools::printedNow());
    const std::string problem = tools::saveLoadSheetCsv(sheet, path);
    const double productSeconds = secondsSince(start);
    if (!problem.empty()) {
      state.SkipWithError(problem.c_str());
      break;
    }
    segments = sheet.totals.segments;
    // The floor: the same bytes written to the same file in one go.
    std::ostringstream text;
    tools::writeLoadSheetCsv(sheet, text);
    const std::string bytes = text.str();
    const auto floorStart = Clock::now();
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
    samples.add(productSeconds, secondsSince(floorStart));
    state.SetIterationTime(productSeconds);
  }
  std::filesystem::remove(path);
  if (segments != static_cast<std::size_t>(kRows)) state.SkipWithError("not every row was picked");
  samples.report(state, kRows, 0, kCsvGoalMs);
}

// Peak resident bytes of `tarvine sheet ... FORMAT FILE` on the generated load, and its wall time.
long long peakOfSheet(const std::string& format, const std::string& path, double& seconds) {
  BenchLoads& loads = BenchLoads::instance();
  const std::string command = std::string(TARVINE_PEAK_RSS) + " " + TARVINE_EXECUTABLE +
                              " sheet --server " + loads.server() + " --facility " +
                              std::string(kFacility) + " --person 7 2 --load " +
                              std::to_string(kRows) + " " + format + " '" + path + "'";
  const auto start = Clock::now();
  FILE* helper = popen(command.c_str(), "r");
  if (!helper) return -1;
  long long peak = -1;
  if (std::fscanf(helper, "%lld", &peak) != 1) peak = -1;
  const bool ran = pclose(helper) == 0;
  seconds = secondsSince(start);
  return ran ? peak : -1;
}

void BM_LoadSheetPdfPeakMemory(benchmark::State& state) {
  BenchLoads::instance().ensureLoad(kRows);
  const std::string pdf = tempPath("sheet.pdf");
  const std::string csv = tempPath("sheet-floor.csv");
  long long peak = 0, floor = 0;
  double seconds = 0, floorSeconds = 0;
  for (auto _ : state) {
    peak = peakOfSheet("--pdf", pdf, seconds);
    floor = peakOfSheet("--csv", csv, floorSeconds);
    if (peak < 0 || floor < 0) {
      state.SkipWithError("tarvine sheet did not run to its end (a build without Qt?)");
      break;
    }
  }
  const double pdfBytes = std::filesystem::exists(pdf) ? std::filesystem::file_size(pdf) : 0;
  std::filesystem::remove(pdf);
  std::filesystem::remove(csv);
  state.counters["rows"] = kRows;
  state.counters["product_mb"] = static_cast<double>(peak) / 1e6;
  state.counters["floor_mb"] = static_cast<double>(floor) / 1e6;
  state.counters["ratio"] = static_cast<double>(peak) / static_cast<double>(floor);
  state.counters["goal_ratio"] = kPdfGoalRatio;
  state.counters["wall_ms"] = seconds * 1000;
  state.counters["file_mb"] = pdfBytes / 1e6;
}

BENCHMARK(BM_LoadSheetCsv)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LoadSheetPdfPeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvine::bench
