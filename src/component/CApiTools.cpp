// The C interface of the dispatcher's tools: find and scan a P.O., the trailer's limits, the
// load sheet as CSV.

#include <limits>
#include <stdexcept>

#include "component/CApiObjects.h"
#include "tools/FindOrder.h"
#include "tools/LoadSheetCsv.h"

using namespace tarvine;
using namespace tarvine::component::capi;

namespace {

int32_t rowNumber(const std::optional<std::size_t>& row) {
  return row && *row <= static_cast<std::size_t>(std::numeric_limits<int32_t>::max())
             ? static_cast<int32_t>(*row)
             : 0;
}

int32_t scanCode(tools::ScanOutcome outcome) {
  switch (outcome) {
    case tools::ScanOutcome::Picked:
      return TARVINE_SCAN_PICKED;
    case tools::ScanOutcome::AlreadyPicked:
      return TARVINE_SCAN_ALREADY;
    case tools::ScanOutcome::NotPicked:
    case tools::ScanOutcome::OtherCenter:
      return TARVINE_SCAN_REFUSED;
    case tools::ScanOutcome::Selected:
    case tools::ScanOutcome::NotFound:
      break;
  }
  return TARVINE_SCAN_NOT_FOUND;
}

}  // namespace

extern "C" {

int32_t tarvine_find_order(tarvine_control* control, const char* id, int32_t* row) {
  const auto [host, code] = findControl(control);
  if (!host) return code;
  if (!id) return TARVINE_E_POINTER;
  return guarded([&]() -> std::int32_t {
    tools::ScanResult found;
    host->asCall([&] { found = tools::selectOrder(host->control(), id); });
    if (row) *row = rowNumber(found.row);
    return found.row ? TARVINE_S_OK : TARVINE_S_FALSE;
  });
}

int32_t tarvine_scan_order(tarvine_control* control, const char* id, int32_t* row,
                           int32_t* outcome) {
  const auto [host, code] = findControl(control);
  if (!host) return code;
  if (!id) return TARVINE_E_POINTER;
  return guarded([&]() -> std::int32_t {
    tools::ScanResult result;
    host->asCall([&] { result = tools::scanOrder(host->control(), id); });
    if (row) *row = rowNumber(result.row);
    if (outcome) *outcome = scanCode(result.outcome);
    return result.row ? TARVINE_S_OK : TARVINE_S_FALSE;
  });
}

int32_t tarvine_set_trailer_limits(tarvine_control* control, double weight, double cube,
                                   int32_t cartons) {
  const auto [host, code] = findControl(control);
  if (!host) return code;
  return guarded([&]() -> std::int32_t {
    tools::TrailerLimits limits{weight, cube, std::nullopt};
    if (cartons != 0) limits.cartons = cartons;
    if (auto problem = tools::limitsProblem(limits)) {
      setLastError(*problem);
      return TARVINE_E_INVALIDARG;
    }
    host->tools().capacity().setLimits(limits);
    return TARVINE_S_OK;
  });
}

int32_t tarvine_clear_trailer_limits(tarvine_control* control) {
  const auto [host, code] = findControl(control);
  if (!host) return code;
  return guarded([&]() -> std::int32_t {
    host->tools().capacity().setLimits(std::nullopt);
    return TARVINE_S_OK;
  });
}

int32_t tarvine_write_load_sheet_csv(tarvine_control* control, const char* path) {
  const auto [host, code] = findControl(control);
  if (!host) return code;
  if (!path) return TARVINE_E_POINTER;
  return guarded([&]() -> std::int32_t {
    if (auto refusal = tools::sheetRefusal(host->control())) {
      setLastError(*refusal + "; no sheet was written");
      return TARVINE_E_UNEXPECTED;
    }
    const tools::LoadSheet sheet = tools::buildLoadSheet(host->control(), tools::printedNow(),
                                                         host->tools().capacity().limits());
    if (std::string problem = tools::saveLoadSheetCsv(sheet, path); !problem.empty()) {
      setLastError(problem);
      return TARVINE_E_UNEXPECTED;
    }
    return TARVINE_S_OK;
  });
}

}  // extern "C"
