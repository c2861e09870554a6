// The dispatcher's actions on the list of a 32,767-segment load: a row check, Select All off and
// on, a column sort, a freight override and a save with every row changed, without and with the
// check before it (sent to a service that discards it). Floor of the row check and Select All: one
// pass over the rows reading and adding up the three total cells. Actions without a service call
// are timed in thread CPU time.

#include <benchmark/benchmark.h>

#include <charconv>
#include <functional>

#include "BenchLoads.h"
#include "DiscardingService.h"
#include "PairedSamples.h"
#include "control/TarvineOrderPick.h"
#include "platform/Dialogs.h"
#include "platform/EventLog.h"
#include "save/ChangedRows.h"
#include "service/Requests.h"
#include "service/Transport.h"

namespace tarvine::bench {
namespace {

constexpr int kRows = 32767;
constexpr double kRowCheckGoalRatio = 3.0;
// What feels instant to a person: a tenth of a second.
constexpr double kInstantMs = 100.0;
// A save with every row changed, its reload and refill included, without and with the check
// read before it, and the reload alone.
constexpr double kSaveGoalMs = 150.0;
constexpr double kCheckedSaveGoalMs = 250.0;
constexpr double kReloadGoalMs = 100.0;

// A control showing the generated load through a discarding service.
struct OpenList {
  DiscardingService service{kRows};
  RecordingDialogs dialogs;
  MemoryEventLog log;
  TarvineOrderPick control{dialogs, log};

  OpenList() {
    control.PutServerName(service.server());
    control.SetFacilityID("DEMO");
    control.SetPersonInformation("7", "2");
    control.PutTarvineID(kRows);
  }
  ListView& list() { return control.widgets().lvwOrderIDs; }
  // False (and the benchmark stopped) when the list is not whole or an error was reported.
  bool intact(benchmark::State& state) {
    if (list().rowCount() == kRows && log.entries().empty()) return true;
    state.SkipWithError("the list lost rows or an error was reported");
    return false;
  }
};

// A cell as a number: digit grouping skipped, the rest read as a decimal.
double cellNumber(const std::string& text) {
  char digits[64];
  std::size_t size = 0;
  for (char c : text) {
    if (c != ',' && size < sizeof digits) digits[size++] = c;
  }
  double value = 0;
  std::from_chars(digits, digits + size, value);
  return value;
}

// The floor of an action that recomputes the totals: one pass reading the three total cells.
double totalsPassSeconds(const ListView& list) {
  const double start = threadCpuSeconds();
  double cartons = 0, weight = 0, freight = 0;
  for (RowId row : list.order()) {
    cartons += cellNumber(list.subItem(row, 4));
    weight += cellNumber(list.subItem(row, 5));
    freight += cellNumber(list.subItem(row, 6));
  }
  benchmark::DoNotOptimize(cartons + weight + freight);
  return threadCpuSeconds() - start;
}

// Runs `action` once per iteration after `prepare` (not timed); with a floor when asked. Actions
// that stay on this thread are timed in thread CPU time, the others (`waits`) in wall time.
void measureAction(benchmark::State& state, OpenList& open, const std::function<void()>& prepare,
                   const std::function<void()>& action, bool withFloor, double goalRatio,
                   bool waits = false, double goalMs = kInstantMs) {
  PairedSamples samples;
  for (auto _ : state) {
    prepare();
    const auto wallStart = Clock::now();
    const double cpuStart = threadCpuSeconds();
    action();
    const double productSeconds = waits ? secondsSince(wallStart) : threadCpuSeconds() - cpuStart;
    if (!open.intact(state)) return;
    state.SetIterationTime(productSeconds);
    samples.add(productSeconds, withFloor ? totalsPassSeconds(open.list()) : 0);
  }
  samples.report(state, kRows, goalRatio, goalMs);
}

void BM_RowCheck(benchmark::State& state) {
  OpenList open;
  // A row in the middle; each iteration flips its P.O. on or off the load.
  measureAction(
      state, open, [] {}, [&] { open.list().userToggleCheck(kRows / 2); }, true,
      kRowCheckGoalRatio);
}

void selectAll(benchmark::State& state, int before) {
  OpenList open;
  CheckBox& box = open.control.widgets().chkSellectAll;
  measureAction(
      state, open,
      [&] {
        if (box.value() != before) box.userClick();
      },
      [&] { box.userClick(); }, true, 0);
}

void BM_SelectAllOff(benchmark::State& state) {
  selectAll(state, 1);
}
void BM_SelectAllOn(benchmark::State& state) {
  selectAll(state, 0);
}

void BM_ColumnSort(benchmark::State& state) {
  OpenList open;
  // Alternates between two columns so that every click really reorders; the order is read
  // afterwards, as the screen does when it redraws.
  int column = 1;
  measureAction(
      state, open, [&] { column = column == 1 ? 4 : 1; },
      [&] {
        open.list().userColumnClick(column);
        benchmark::DoNotOptimize(open.list().order().data());
      },
      false, 0);
}

void BM_FreightOverride(benchmark::State& state) {
  OpenList open;
  // The first row is its P.O.'s first segment, so its freight can be overridden.
  bool high = false;
  measureAction(
      state, open,
      [&] {
        high = !high;
        open.dialogs.queueAnswer(high ? "1500" : "1600");
      },
      [&] { open.list().userDoubleClick(1); }, false, 0);
  if (open.list().subItem(open.list().rowAt(1), 6) != (high ? "1,500.00" : "1,600.00")) {
    state.SkipWithError("the freight was not overridden");
  }
}

// The save without the check before it: the statements built from the changed rows as the Save
// button builds them, sent in one update through a transport of its own, then the reload and
// refill that end a save (RefreshData). False when the update was not answered.
bool saveWithoutCheck(OpenList& open) {
  TarvineOrderPick& control = open.control;
  const SaveContext context{control.outgoingLoadID(), control.selectedCenterID(),
                            control.personID(), control.personTypeID()};
  SaveStatements save = saveStatements(changedRows(open.list()), context);
  appendHistory(save, context, {});
  service::Transport transport([](const RuntimeError&, std::string_view) {});
  // As the control sends it: the request made in its written form.
  const std::optional<std::string> request =
      service::writtenUpdateOutgoingLoadOrderRequest(save.statements);
  const bool answered = request && transport
                                       .callOperation(control.webServiceURL(), control.serverName(),
                                                      soapActionOf("UpdateOutgoingLoadOrder"),
                                                      "UpdateOutgoingLoadOrder", *request, true, {},
                                                      service::EnvelopeForm::Written)
                                       .answered();
  control.RefreshData();
  return answered;
}

// A save with every row changed. Select All off takes every segment off the load: one update and
// one history statement per row. The service discards them, so the reload shows the load as it
// was, and the check before the update (when it runs) finds no difference.
void measureSave(benchmark::State& state, bool checkFirst) {
  OpenList open;
  CheckBox& box = open.control.widgets().chkSellectAll;
  std::vector<double> sent;
  PairedSamples samples;
  for (auto _ : state) {
    if (box.value() != 1) box.userClick();
    box.userClick();
    const auto start = Clock::now();
    if (checkFirst) {
      open.control.widgets().cmdSave.userClick();
    } else if (!saveWithoutCheck(open)) {
      state.SkipWithError("the update was not answered");
      return;
    }
    const double productSeconds = secondsSince(start);
    if (!open.intact(state)) return;
    if (!open.dialogs.messages().empty() &&
        open.dialogs.messages().back().buttons != kMsgInformationOk) {
      state.SkipWithError("the save asked a question");
      return;
    }
    state.SetIterationTime(productSeconds);
    samples.add(productSeconds);
    sent.push_back(std::chrono::duration<double>(open.service.lastUpdateArrival() - start).count());
  }
  samples.report(state, kRows, 0, checkFirst ? kCheckedSaveGoalMs : kSaveGoalMs);
  state.counters["sent_ms"] = median(sent) * 1000;
  state.counters["request_bytes"] = static_cast<double>(open.service.lastUpdateBytes());
}

void BM_SaveAllRowsChanged(benchmark::State& state) {
  measureSave(state, false);
}

void BM_SaveWithCheck(benchmark::State& state) {
  measureSave(state, true);
}

void BM_Refresh(benchmark::State& state) {
  OpenList open;
  // The reload that ends every save that sent statements: orders, center selection, refill.
  measureAction(
      state, open, [] {}, [&] { open.control.RefreshData(); }, false, 0, true, kReloadGoalMs);
}

#define TARVINE_LIST_BENCHMARK(name) \
  BENCHMARK(name)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0)

TARVINE_LIST_BENCHMARK(BM_RowCheck);
TARVINE_LIST_BENCHMARK(BM_SelectAllOff);
TARVINE_LIST_BENCHMARK(BM_SelectAllOn);
TARVINE_LIST_BENCHMARK(BM_ColumnSort);
TARVINE_LIST_BENCHMARK(BM_FreightOverride);
TARVINE_LIST_BENCHMARK(BM_SaveAllRowsChanged);
TARVINE_LIST_BENCHMARK(BM_SaveWithCheck);
TARVINE_LIST_BENCHMARK(BM_Refresh);

}  // namespace
}  // namespace tarvine::bench
