// Opening a 32,767-segment load in the window, on Qt's offscreen platform: PutTarvineID run as
// the host window runs it (a user action whose calls are waited for on a worker thread), then
// the list drawn, until the window has painted. Floor: the same open of a control without a
// window, in the same iteration. The dispatcher's actions in the window (row check, Select All,
// column sort, center switch) against the same action on a control without a window, and
// scrolling the list by a page, each until the window has painted.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <QTreeView>

#include "BenchLoads.h"
#include "OrderPickWidget.h"
#include "PairedSamples.h"
#include "control/TarvineOrderPick.h"
#include "platform/Dialogs.h"
#include "platform/EventLog.h"

namespace tarvine::bench {
namespace {

constexpr int kRows = 32767;
constexpr double kGoalRatio = 1.1;
// What feels instant to a person, and one frame of a 60 Hz screen (a scroll step).
constexpr double kInstantMs = 100.0;
constexpr double kFrameMs = 1000.0 / 60;

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

  // Besides the wall times: the paint's share, and the CPU time of the whole process (the
  // service's threads included) for each, which a busy machine does not stretch.
  PairedSamples samples;
  std::vector<double> painting, windowCpu, plainCpu;
  alternateWithFloor(
      state, samples,
      [&] {
        const double cpu = processCpuSeconds();
        widget.perform([&] { windowed.PutTarvineID(kRows); });
        const auto start = Clock::now();
        widget.repaint();
        QApplication::processEvents();
        painting.push_back(secondsSince(start));
        windowCpu.push_back(processCpuSeconds() - cpu);
      },
      [&] {
        const double cpu = processCpuSeconds();
        plain.PutTarvineID(kRows);
        plainCpu.push_back(processCpuSeconds() - cpu);
      },
      [&] {
        return windowed.widgets().lvwOrderIDs.rowCount() == static_cast<std::size_t>(kRows) &&
               log.entries().empty();
      },
      "the load did not open with one row per segment");
  samples.report(state, kRows, kGoalRatio, 0);
  state.counters["paint_ms"] = median(painting) * 1000;
  state.counters["cpu_ms"] = median(windowCpu) * 1000;
  state.counters["floor_cpu_ms"] = median(plainCpu) * 1000;
}

// Two controls showing the load, one drawn in a window.
struct OpenWindow {
  RecordingDialogs dialogs;
  MemoryEventLog log;
  TarvineOrderPick windowed{dialogs, log};
  TarvineOrderPick plain{dialogs, log};
  qt::OrderPickWidget widget{windowed};

  OpenWindow() {
    BenchLoads& loads = BenchLoads::instance();
    loads.ensureLoad(kRows);
    for (TarvineOrderPick* control : {&windowed, &plain}) {
      control->PutServerName(loads.server());
      control->SetFacilityID(std::string(kFacility));
      control->SetPersonInformation("7", "2");
    }
    widget.show();
    widget.perform([&] { windowed.PutTarvineID(kRows); });
    plain.PutTarvineID(kRows);
    paint();
  }
  void paint() {
    widget.repaint();
    QApplication::processEvents();
  }
  // Runs the action on the windowed control as a user action and paints (the product), and on
  // the plain control (the floor).
  void measure(benchmark::State& state, const std::function<void(TarvineOrderPick&)>& action) {
    PairedSamples samples;
    alternateWithFloor(
        state, samples,
        [&] {
          widget.perform([&] { action(windowed); });
          paint();
        },
        [&] { action(plain); },
        [&] {
          return windowed.widgets().lvwOrderIDs.rowCount() ==
                     plain.widgets().lvwOrderIDs.rowCount() &&
                 log.entries().empty();
        },
        "the two lists differ or an error was reported");
    samples.report(state, kRows, 0, kInstantMs);
  }
};

void BM_WindowRowCheck(benchmark::State& state) {
  offscreenApplication();
  OpenWindow open;
  open.measure(state, [](TarvineOrderPick& control) {
    control.widgets().lvwOrderIDs.userToggleCheck(kRows / 2);
  });
}

void BM_WindowSelectAll(benchmark::State& state) {
  offscreenApplication();
  OpenWindow open;
  open.measure(state,
               [](TarvineOrderPick& control) { control.widgets().chkSellectAll.userClick(); });
}

void BM_WindowColumnSort(benchmark::State& state) {
  offscreenApplication();
  OpenWindow open;
  // Each control alternates between two columns so that every click really reorders.
  open.measure(state, [](TarvineOrderPick& control) {
    ListView& list = control.widgets().lvwOrderIDs;
    list.userColumnClick(list.sorted() && list.sortKey() == 0 ? 4 : 1);
    benchmark::DoNotOptimize(list.order().data());  // the list sorts when its order is read
  });
}

void BM_WindowCenterSwitch(benchmark::State& state) {
  offscreenApplication();
  OpenWindow open;
  // Between the first two centers of the load; every switch refills the list.
  open.measure(state, [](TarvineOrderPick& control) {
    ComboBox& centers = control.widgets().cboCenter;
    centers.userSelect(centers.listIndex() == 0 ? 1 : 0);
  });
}

void BM_WindowScroll(benchmark::State& state) {
  offscreenApplication();
  OpenWindow open;
  auto* view = qobject_cast<QTreeView*>(open.widget.widgetFor("lvwOrderIDs"));
  QScrollBar* bar = view ? view->verticalScrollBar() : nullptr;
  if (!bar || bar->maximum() == 0) {
    state.SkipWithError("the list has no scroll bar");
    return;
  }
  // A page down per iteration, from the top again at the end: the rows shown are new each time.
  PairedSamples samples;
  for (auto _ : state) {
    const auto start = Clock::now();
    bar->setValue(bar->value() >= bar->maximum() ? 0 : bar->value() + bar->pageStep());
    open.paint();
    const double seconds = secondsSince(start);
    state.SetIterationTime(seconds);
    samples.add(seconds);
  }
  samples.report(state, kRows, 0, kFrameMs);
}

BENCHMARK(BM_WindowOpen)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_WindowRowCheck)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_WindowSelectAll)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_WindowColumnSort)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_WindowCenterSwitch)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_WindowScroll)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
}  // namespace tarvine::bench
