// The load sheet is the load as the last read left it, whatever the screen shows: each state
// of the screen gives the same lines and totals (worked out by hand below), and a note of the
// unsaved P.O.s it leaves out.

#include <sstream>

#include "ControlFixture.h"
#include "tools/LoadSheet.h"
#include "tools/LoadSheetCsv.h"

namespace tarvine::test {
namespace {

// The route stops at South (15) first. On load 5001: 12-100 segments 2 and 1 (read in that
// order) and 15-300; 12-200 and 15-400 are not on a load.
void splitLoad(ControlTest& t) {
  t.serveExampleLoad();
  t.service.setRows("GetOutgoingLoadCenterIDAndCenter",
                    {{{"CenterID", "15"}, {"CenterName", "South"}},
                     {{"CenterID", "12"}, {"CenterName", "North"}}});
  t.service.setRows("GetOutgoingLoadAllOrders",
                    {orderRow("12-100", 2, "5001", "0", 4, 1500,
                              {{"FactoryWeight", "200"}, {"CubicFeet", "20.4"}}),
                     orderRow("12-100", 1, "5001", "125.5", 10, 1500,
                              {{"FactoryWeight", "300"}, {"CubicFeet", "30.5"}}),
                     orderRow("12-200", 1, "0", "40", 3, 300),
                     orderRow("15-300", 1, "5001", "1234.5", 8, 2000,
                              {{"FactoryWeight", "2000"}, {"CubicFeet", "99.94"}}),
                     orderRow("15-400", 1, "0", "NoRate", 5, 700)});
}

struct SheetCase {
  const char* name;
  std::string script;
  const char* unsavedNote;  // the CSV's header line about unsaved P.O.s; "" for none
};

// Rows of the list in read order: 1 12-100/2, 2 12-100/1, 3 12-200, 4 15-300, 5 15-400.
const SheetCase kSheets[] = {
    {"AsRead", "load 5001", ""},
    {"NorthChosen", "load 5001; center 2", ""},
    {"SortedByCartons", "load 5001; sort 5; click 1", ""},
    {"UnsavedPick", "load 5001; toggle 3", "Unsaved changes on screen are not on this sheet: 1"},
    {"UnsavedDrop", "load 5001; toggle 4", "Unsaved changes on screen are not on this sheet: 1"},
    {"PickDropSorted", "load 5001; toggle 5; toggle 1; sort 2",
     "Unsaved changes on screen are not on this sheet: 2"},
};

class LoadSheetTest : public ControlTest, public ::testing::WithParamInterface<SheetCase> {};

TEST_P(LoadSheetTest, IsTheLoadWhateverTheScreenShows) {
  splitLoad(*this);
  run(GetParam().script);
  std::ostringstream out;
  tools::writeLoadSheetCsv(tools::buildLoadSheet(control, "06/01/2026 07:30"), out);
  std::string segments, totals, note;
  std::istringstream csv(out.str());
  for (std::string line; std::getline(csv, line);) {
    line.pop_back();  // CR
    if (line.starts_with("Segment,")) segments += line.substr(8, line.find(',', 25) - 8) + " ";
    if (line.find("total,") != std::string::npos) totals += line + "\n";
    if (line.starts_with("Unsaved")) note = line;
  }
  // Route order, P.O.s in read order, segments by number; each its own weight and cube; the
  // P.O.'s freight on the line of its first record read.
  EXPECT_EQ(segments, "15,South,15-300,1 12,North,12-100,1 12,North,12-100,2 ");
  EXPECT_EQ(totals,
            "Center subtotal,15,South,,,,8,2000.00,99.9,1234.50,\n"
            "Center subtotal,12,North,,,,14,500.00,50.9,80.00,\n"
            "Load total,,,,,,22,2500.00,150.8,1314.50,\n");
  EXPECT_EQ(note, GetParam().unsavedNote);
}

INSTANTIATE_TEST_SUITE_P(Screens, LoadSheetTest, ::testing::ValuesIn(kSheets), caseName);

// Whether a text (here the manifest, on the first line) is guarded.
TEST(LoadSheetCsvTest, GuardsWhatASpreadsheetWouldRun) {
  const std::pair<std::string, bool> rows[] = {
      {"=1+1", true},     {"  +1", true},    {" \t@SUM(A1)", true}, {"\uFF1D1", true},
      {" \uFF0B1", true}, {"\uFF0D1", true}, {"\uFF20x", true},     {"12-100", false},
      {"a=b", false},     {"\uFF11", false}, {"  ", false}};
  for (const auto& [text, guarded] : rows) {
    tools::LoadSheet sheet;
    sheet.manifest = text;
    std::ostringstream out;
    tools::writeLoadSheetCsv(sheet, out);
    const std::string csv = out.str();
    const std::size_t field = csv.find(',') + 1;
    EXPECT_EQ(csv.substr(field, csv.find("\r\n") - field), guarded ? "\"'" + text + "\"" : text);
  }
}

}  // namespace
}  // namespace tarvine::test
