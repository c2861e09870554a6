#pragma once
// The script lines of the dispatcher's tools: find and scan a P.O., the trailer's limits, and
// the load sheet as CSV.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "control/OrderPick.h"
#include "tools/LoadFill.h"
#include "tools/TrailerCapacity.h"

namespace tarvine::script {

class ToolCommands {
 public:
  // Reports one JSON object as a line.
  using Emit = std::function<void(const nlohmann::json& value)>;

  // The control must outlive this object.
  ToolCommands(OrderPick& control, Emit emit);

  // Runs the line when it is a tool command. Nothing when it is not one; otherwise an empty text
  // when it ran, or why it could not be run.
  //   find ID, scan ID           a "found" line: {"id","row" (from 1, or null),"status"}, and
  //                              for scan "scan": "picked", "already", "not picked", "not found"
  //   limits WEIGHT CUBE [CARTONS], limits off
  //   sheet csv FILE             a "sheet" line: {"format","file","segments","unsaved"}, or
  //                              {"format","file","error"} when no sheet was written (a run-time
  //                              failure: see runFailures())
  //   suggest                    a "suggestion" line (suggest())
  //   suggest apply              an "applied" line (applyFill())
  std::optional<std::string> run(const std::vector<std::string>& words);

  tools::TrailerCapacity& capacity() { return capacity_; }
  // How many tool lines failed at run time so far (a sheet not written, no fill proposed or
  // applied).
  int runFailures() const { return runFailures_; }
  // The best fill for what is shown now as a "suggestion" line (FillJson.h), kept for
  // applyFill(); an error in it without limits or when nothing can be proposed.
  nlohmann::json suggest();
  // Applies the kept proposal as the user's clicks (tools::LoadFill); its "applied" line.
  nlohmann::json applyFill();
  // null without limits; else {"limits","picked","over"} with weight, cube and cartons each.
  nlohmann::json capacityJson() const;

 private:
  std::string runLimits(const std::vector<std::string>& words);
  // Writes the load sheet as CSV and reports it in a "sheet" line.
  void writeSheet(const std::string& path);

  OrderPick& control_;
  Emit emit_;
  tools::TrailerCapacity capacity_;
  tools::LoadFill fill_;
  int runFailures_ = 0;
};

}  // namespace tarvine::script
