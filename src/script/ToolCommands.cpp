#include "script/ToolCommands.h"

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "platform/Convert.h"
#include "script/FillJson.h"
#include "tools/FindOrder.h"
#include "tools/LoadSheetCsv.h"

namespace tarvine::script {
namespace {

using nlohmann::json;

json rowOrNull(const std::optional<std::size_t>& row) {
  return row ? json(*row) : json(nullptr);
}

const char* scanName(tools::ScanOutcome outcome) {
  switch (outcome) {
    case tools::ScanOutcome::Picked:
      return "picked";
    case tools::ScanOutcome::AlreadyPicked:
      return "already";
    case tools::ScanOutcome::NotPicked:
    case tools::ScanOutcome::OtherCenter:
      return "not picked";
    case tools::ScanOutcome::Selected:
    case tools::ScanOutcome::NotFound:
      break;
  }
  return "not found";
}

}  // namespace

ToolCommands::ToolCommands(OrderPick& control, Emit emit)
    : control_(control), emit_(std::move(emit)), capacity_(control) {}

std::optional<std::string> ToolCommands::run(const std::vector<std::string>& words) {
  const std::string& command = words.at(0);
  const std::size_t args = words.size() - 1;
  if ((command == "find" || command == "scan") && args == 1) {
    const bool scan = command == "scan";
    const tools::ScanResult result =
        scan ? tools::scanOrder(control_, words[1]) : tools::selectOrder(control_, words[1]);
    json found = {{"type", "found"},
                  {"id", tools::trimOrderId(words[1])},
                  {"row", rowOrNull(result.row)},
                  {"status", tools::scanMessage(words[1], result.outcome)}};
    if (scan) found["scan"] = scanName(result.outcome);
    emit_(found);
    return std::string();
  }
  if (command == "limits" && (args == 1 || args == 2 || args == 3)) return runLimits(words);
  if (command == "sheet" && args == 2 && words[1] == "csv") {
    writeSheet(words[2]);
    return std::string();
  }
  if (command == "suggest" && (args == 0 || (args == 1 && words[1] == "apply"))) {
    const json line = args == 0 ? suggest() : applyFill();
    if (line.contains("error")) ++runFailures_;
    emit_(line);
    return std::string();
  }
  return std::nullopt;
}

json ToolCommands::suggest() {
  const auto& limits = capacity_.limits();
  if (!limits) {
    fill_.forget();
    return {{"type", "suggestion"},
            {"error", "the trailer's weight and cube limits are not set (limits WEIGHT CUBE)"}};
  }
  const tools::FillProposal& proposal = fill_.propose(control_, *limits);
  return suggestionJson(*fill_.request(), proposal);
}

json ToolCommands::applyFill() {
  return appliedJson(fill_.apply(control_, capacity_.limits()));
}

void ToolCommands::writeSheet(const std::string& path) {
  json line = {{"type", "sheet"}, {"format", "csv"}, {"file", path}};
  std::string problem;
  if (auto refusal = tools::sheetRefusal(control_)) {
    problem = *refusal + "; no sheet was written";
  } else {
    const tools::LoadSheet sheet =
        tools::buildLoadSheet(control_, tools::printedNow(), capacity_.limits());
    problem = tools::saveLoadSheetCsv(sheet, path);
    line["segments"] = sheet.totals.segments;
    line["unsaved"] = sheet.unsavedOrders;
  }
  if (!problem.empty()) {
    line["error"] = problem;
    ++runFailures_;
  }
  emit_(line);
}

std::string ToolCommands::runLimits(const std::vector<std::string>& words) {
  if (words.size() == 2) {
    if (words[1] != "off") return "limits takes WEIGHT CUBE [CARTONS], or off";
    capacity_.setLimits(std::nullopt);
    return {};
  }
  tools::TrailerLimits limits;
  const auto weight = convert::parseNumber(words[1]);
  const auto cube = convert::parseNumber(words[2]);
  if (!weight || !cube) return "limits takes WEIGHT CUBE [CARTONS] as numbers";
  limits.weight = *weight;
  limits.cube = *cube;
  if (words.size() == 4) {
    const auto cartons = convert::parseNumber(words[3]);
    if (!cartons || !(*cartons >= 1 && *cartons <= std::numeric_limits<std::int32_t>::max()) ||
        std::floor(*cartons) != *cartons) {
      return "the carton limit must be a whole number of 1 or more";
    }
    limits.cartons = static_cast<std::int32_t>(*cartons);
  }
  if (auto problem = tools::limitsProblem(limits)) return *problem;
  capacity_.setLimits(limits);
  return {};
}

json ToolCommands::capacityJson() const {
  const auto& limits = capacity_.limits();
  if (!limits) return nullptr;
  const tools::FillFigures picked = capacity_.picked();
  const tools::OverLimits over = capacity_.over();
  return {
      {"limits",
       {{"weight", limits->weight},
        {"cube", limits->cube},
        {"cartons", limits->cartons ? json(*limits->cartons) : json(nullptr)}}},
      {"picked", {{"weight", picked.weight}, {"cube", picked.cube}, {"cartons", picked.cartons}}},
      {"over", {{"weight", over.weight}, {"cube", over.cube}, {"cartons", over.cartons}}}};
}

}  // namespace tarvine::script
