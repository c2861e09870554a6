#include "SheetCommand.h"

#include "PersonOption.h"

#include <iostream>
#include <variant>

#include "SheetPdf.h"
#include "WindowRun.h"
#include "control/OrderPick.h"
#include "platform/Dialogs.h"
#include "platform/EventLog.h"
#include "platform/RuntimeError.h"
#include "tools/LoadSheetCsv.h"

namespace tarvine::app {
namespace {

// The description of an event log entry ("Error Description - ..." up to its line's end).
std::string errorDescription(const std::string& entry) {
  constexpr std::string_view kField = "Error Description - ";
  const std::size_t start = entry.find(kField);
  if (start == std::string::npos) return entry;
  const std::size_t from = start + kField.size();
  return entry.substr(from, entry.find("\r\n", from) - from);
}

}  // namespace

SheetCommand::SheetCommand(CLI::App& app)
    : command_(app.add_subcommand(
          "sheet",
          "Write the load sheet of a load (every segment on it) as CSV or PDF, no window")) {
  command_->add_option("--server", server_, "Route service, e.g. http://host:port")->required();
  command_->add_option("--facility", facility_, "Facility id")->required();
  addPersonOption(*command_, person_)->required();
  command_->add_option("--load", load_, "The load (manifest number)")
      ->required()
      ->check(CLI::Range(1, kLargestLoad));
  auto* csv =
      command_->add_option("--csv", csv_, "Write the sheet as CSV into FILE")->type_name("FILE");
  auto* pdf =
      command_->add_option("--pdf", pdf_, "Write the sheet as PDF into FILE")->type_name("FILE");
  csv->excludes(pdf);
  command_->add_option("--paper", paper_, "Paper of the PDF: letter or a4 (default: the locale's)")
      ->check(CLI::IsMember({"letter", "a4"}, CLI::ignore_case))
      ->needs(pdf);
  addLimitOptions(*command_, limits_);
  command_->footer(
      "Exit status:\n"
      "  0  the sheet was written\n"
      "  1  the load could not be read from the route service, has no segments on it, or the\n"
      "     file cannot be written; one line on standard error says which, and no file is\n"
      "     written (an existing one stays as it was) but for one that cannot be finished\n"
      "  2  a usage error\n\n" +
      std::string(kControlEnvironmentHelp) +
      "\nExamples:\n"
      "  tarvine sheet --server http://127.0.0.1:8080 --facility DEMO --person 7 2 --load 5001 "
      "--pdf load-5001.pdf --paper a4");
  command_->callback([this, csv, pdf] {
    if (csv->count() + pdf->count() == 0) throw CLI::RequiredError("--csv or --pdf");
  });
}

int SheetCommand::run() {
  RecordingDialogs dialogs;
  MemoryEventLog log;
  const std::unique_ptr<OrderPick> owned = makeOrderPick(dialogs, log);
  OrderPick& control = *owned;
  control.PutServerName(server_);
  control.SetFacilityID(facility_);
  try {
    control.SetPersonInformation(person_.at(0), person_.at(1));
  } catch (const RuntimeError& error) {
    std::cerr << "tarvine sheet: the person id and type must be 16-bit numbers ("
              << error.description() << ")\n";
    return 2;
  }
  control.PutTarvineID(load_);
  // A load the control could not show gives no sheet: the user would get an error box.
  if (!log.entries().empty()) {
    std::cerr << "tarvine sheet: load " << load_ << " could not be read ("
              << errorDescription(log.entries().front()) << "); no sheet was written\n";
    return 1;
  }
  if (auto refusal = tools::sheetRefusal(control)) {
    std::cerr << "tarvine sheet: " << *refusal << "; no sheet was written\n";
    return 1;
  }
  const tools::LoadSheet sheet =
      tools::buildLoadSheet(control, tools::printedNow(), givenLimits(limits_));
  const std::string& path = csv_.empty() ? pdf_ : csv_;
  const std::string problem =
      csv_.empty() ? writeSheetPdf(sheet, pdf_, paper_) : tools::saveLoadSheetCsv(sheet, csv_);
  if (!problem.empty()) {
    std::cerr << "tarvine sheet: " << problem << '\n';
    return 1;
  }
  std::cout << "Load sheet of load " << sheet.manifest << ": " << sheet.totals.segments
            << " segments in " << sheet.centers.size() << " centers, written to " << path << '\n';
  return 0;
}

}  // namespace tarvine::app
