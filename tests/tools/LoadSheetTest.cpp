// The load sheet of the example load after the dispatcher's steps, as CSV under the screen's
// total captions (the sheet adds up to them): picked segments grouped by the route's stops in
// list order, subtotals, the trailer's limits and fill, and spreadsheet-safe text.

#include <sstream>

#include "ControlFixture.h"
#include "Golden.h"
#include "tools/LoadSheet.h"
#include "tools/LoadSheetCsv.h"

namespace tarvine::test {
namespace {

struct SheetCase {
  const char* name;
  std::function<void(ControlTest&)> setup;  // none: the example load
  std::string script;
  std::optional<tools::TrailerLimits> limits = std::nullopt;
};

void PrintTo(const SheetCase& c, std::ostream* os) {
  *os << c.name;
}

// The route stops at South first; a comma and quotes in its caption, a P.O. that looks like a
// formula and one without a rate.
void awkwardTexts(ControlTest& t) {
  t.serveExampleLoad();
  t.service.setRows("GetOutgoingLoadCenterIDAndCenter",
                    {{{"CenterID", "15"}, {"CenterName", "South"}},
                     {{"CenterID", "12"}, {"CenterName", "North"}}});
  t.service.setRows("GetOutgoingLoadDescriptionRoute",
                    {{{"Description", "Lakes, \"north\" run"}, {"Route", "R7"}}});
  t.service.setRows(
      "GetOutgoingLoadAllOrders",
      {orderRow("12-100", 1, "0", "125.5", 10, 1500), orderRow("12-100", 2, "0", "0", 4, 1500),
       orderRow("=1+2", 1, "0", "NoRate", 6, 700,
                {{"CenterID", "12"}, {"TotalSuggestedFreight", "-1"}}),
       orderRow("12-200", 1, "0", "40", 3, 300, {{"HighPriorityIndicator", "true"}}),
       orderRow("15-300", 1, "5001", "1234.5", 8, 2000)});
}

const SheetCase kSheets[] = {
    {"AsOpened", {}, "load 5001"},
    {"ToggledOnAndOff", {}, "load 5001; toggle 4; toggle 2; toggle 1"},
    {"OneCenterShown", {}, "load 5001; center 1; selectall"},
    // Sorted by cartons: the lines keep the list's order within each stop.
    {"GroupedByTheRoutesStops", awkwardTexts, "load 5001; selectall; sort 5",
     tools::TrailerLimits{44000, 3800, std::nullopt}},
};

class LoadSheetTest : public ControlTest, public ::testing::WithParamInterface<SheetCase> {};

TEST_P(LoadSheetTest, CsvUnderTheScreensTotals) {
  GetParam().setup ? GetParam().setup(*this) : serveExampleLoad();
  run(GetParam().script);
  std::ostringstream out;
  const ControlWidgets& w = control.widgets();
  for (const Label* total : {&w.lblTotal4, &w.lblTotal5, &w.lblTotal6}) {
    out << "screen total: " << total->caption() << "\n";
  }
  tools::writeLoadSheetCsv(tools::buildLoadSheet(control, "06/01/2026 07:30", GetParam().limits),
                           out);
  expectGolden(out.str(), "tools/sheet-" + std::string(GetParam().name) + ".csv");
}

INSTANTIATE_TEST_SUITE_P(Steps, LoadSheetTest, ::testing::ValuesIn(kSheets), caseName);

// Whether a text (here the manifest, the first field of the load total line) is guarded.
TEST(LoadSheetCsvTest, GuardsWhatASpreadsheetWouldRun) {
  const std::pair<std::string, bool> rows[] = {
      {"  +1", true},    {" \t@SUM(A1)", true}, {"\uFF1D1", true}, {" \uFF0B1", true},
      {"\uFF0D1", true}, {"\uFF20x", true},     {"12-100", false}, {"a=b", false},
      {"\uFF11", false}, {"  ", false}};
  for (const auto& [text, guarded] : rows) {
    tools::LoadSheet sheet;
    sheet.manifest = text;
    std::ostringstream out;
    tools::writeLoadSheetCsv(sheet, out);
    const std::string csv = out.str();
    const std::size_t line = csv.find("\r\n") + 2;
    EXPECT_EQ(csv.substr(line, csv.find(',', line) - line), guarded ? "\"'" + text + "\"" : text);
  }
}

}  // namespace
}  // namespace tarvine::test
