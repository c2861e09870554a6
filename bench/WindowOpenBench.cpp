// Opening a 32,767-segment load in the window, on Qt's offscreen platform: PutTarvineID run as
// the host window runs it (a user action whose calls are waited for on a worker thread), then
// the list drawn, until the window has painted. Floor: the same open of a control without a
// window, in the same iteration.

#include <benchmark/benchmark.h>

#include <QApplication>

#include "BenchLoads.h"
#include "OrderPickWidget.h"
#include "PairedSamples.h"
#include "control/TarvineOrderPick.h"
#include "platform/Dialogs.h"
#include "platform/EventLog.h"

namespace tarvine::bench {
namespace {

constexpr int kRows = 32767;
constexpr double kGoalRatio = 1.5;

// Made on first use and never destroyed: destroyed at exit, after Qt's own globals, it crashes.
QApplication& offscreenApplication() {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "tarvine_bench";
  static char* argv[] = {name, nullptr};
  static QApplication* const application = new QApplication(argc, argv);
  return *application;
}

void BM_WindowOpen(benchmark::State& state) {
  offscreenApplication();
  BenchLoads& loads = BenchLoads::instance();
  loads.ensureLoad(kRows);
  RecordingDialogs dialogs;
  MemoryEventLog log;
  TarvineOrderPick windowed(dialogs, log);
  TarvineOrderPick plain(dialogs, log);
  for (TarvineOrderPick* control : {&windowed, &plain}) {
    control->PutServerName(loads.server());
    control->SetFacilityID(std::string(kFacility));
  }
  qt::OrderPickWidget widget(windowed);
  widget.show();
  QApplication::processEvents();

  PairedSamples samples;
  alternateWithFloor(
      state, samples,
      [&] {
        widget.perform([&] { windowed.PutTarvineID(kRows); });
        widget.repaint();
        QApplication::processEvents();
      },
      [&] { plain.PutTarvineID(kRows); },
      [&] {
        return windowed.widgets().lvwOrderIDs.rowCount() == static_cast<std::size_t>(kRows) &&
               log.entries().empty();
      },
      "the load did not open with one row per segment");
  samples.report(state, kRows, kGoalRatio, 0);
}

BENCHMARK(BM_WindowOpen)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace tarvine::bench
