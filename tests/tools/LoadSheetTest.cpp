// The load sheet as data: grouped by the route's centers, totals equal to the screen's, and its
// CSV text.

#include <cmath>
#include <functional>
#include <sstream>

#include "ControlFixture.h"
#include "Golden.h"
#include "platform/Convert.h"
#include "tools/LoadSheet.h"
#include "tools/LoadSheetCsv.h"

namespace tarvine::test {
namespace {

struct TotalsCase {
  const char* name;
  std::function<void(TarvineOrderPick&)> act;
};

class SheetTotalsTest : public ControlTest, public ::testing::WithParamInterface<TotalsCase> {};

// Whatever the dispatcher did, the sheet adds up to the "TOTALS per Load" on the screen.
TEST_P(SheetTotalsTest, EqualTheTotalCaptions) {
  openExampleLoad();
  GetParam().act(control);
  const tools::LoadSheet sheet = tools::buildLoadSheet(control, "printed");
  const tools::SheetFigures& t = sheet.totals;
  EXPECT_EQ(totals(), (std::vector<std::string>{convert::integerText(std::lround(t.cartons)),
                                                convert::formatStandard(t.weight),
                                                convert::formatStandard(t.freight)}));
  double cartons = 0;
  std::size_t segments = 0;
  for (const tools::SheetCenter& center : sheet.centers) {
    cartons += center.subtotal.cartons;
    segments += center.lines.size();
  }
  EXPECT_EQ(cartons, t.cartons);
  EXPECT_EQ(segments, t.segments);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, SheetTotalsTest,
    ::testing::Values(
        TotalsCase{"AsOpened", [](TarvineOrderPick&) {}},
        TotalsCase{"SelectAll", [](TarvineOrderPick& c) { c.widgets().chkSellectAll.userClick(); }},
        TotalsCase{"ToggleOnAndOff",
                   [](TarvineOrderPick& c) {
                     c.widgets().lvwOrderIDs.userToggleCheck(2);
                     c.widgets().lvwOrderIDs.userToggleCheck(1);  // then first row off
                   }},
        TotalsCase{"OneCenter", [](TarvineOrderPick& c) { c.widgets().cboCenter.userSelect(2); }}),
    [](const auto& info) { return std::string(info.param.name); });

// Groups follow the center box (the route's stops), not the list's order; lines keep it.
TEST_F(ControlTest, SheetGroupsByTheRoutesCenters) {
  serveExampleLoad();
  // The route stops at South first; the list has North's segments first.
  service.setRows("GetOutgoingLoadCenterIDAndCenter",
                  {{{"CenterID", "15"}, {"CenterName", "South"}},
                   {{"CenterID", "12"}, {"CenterName", "North"}}});
  control.PutTarvineID(5001);
  control.widgets().chkSellectAll.userClick();
  list().userColumnClick(5);  // cartons: 12-100, 12-200, 12-100, 15-400, 12-100, 15-300
  std::ostringstream csv;
  tools::writeLoadSheetCsv(tools::buildLoadSheet(control, "06/01/2026 07:30"), csv);
  expectGolden(csv.str(), "load-sheet.csv");
}

// The CSV: one header, quotes doubled, commas quoted, formulas disarmed, plain numbers.
TEST(LoadSheetCsv, WritesSpreadsheetText) {
  tools::LoadSheet sheet;
  sheet.manifest = "5001";
  sheet.route = "Lakes, \"north\" run";
  sheet.printed = "06/01/2026 07:30";
  sheet.person = "7 (type 2)";
  tools::SheetCenter center{"12", "North", {}, {2, 14, 1500, 25.25, 1234.5}};
  center.lines.push_back({"12-1,\"5\"", "1", "11/30/2026", 10, 1500, 12.5, 1234.5, true});
  center.lines.push_back({"=1+2", "2", "11/30/2026", 4, 0, 12.75, -1, false});
  sheet.centers.push_back(center);
  sheet.totals = center.subtotal;
  sheet.limits = tools::TrailerLimits{44000, 3800, std::nullopt};
  std::ostringstream out;
  tools::writeLoadSheetCsv(sheet, out);
  const std::string start = "5001,\"Lakes, \"\"north\"\" run\",06/01/2026 07:30,7 (type 2),";
  EXPECT_EQ(out.str(),
            "Manifest,Route,Printed,Person,Line,Center,Center name,P.O.,Segment,Received,Cartons,"
            "Weight (lb),Cube (cu ft),Freight ($),Hot\r\n" +
                start +
                "Segment,12,North,\"12-1,\"\"5\"\"\",1,11/30/2026,10,1500,12.5,1234.50,X\r\n" +
                start + "Segment,12,North,\"'=1+2\",2,11/30/2026,4,0,12.75,-1.00,\r\n" + start +
                "Center total,12,North,,,,14,1500,25.25,1234.50,\r\n" + start +
                "Load total,,,,,,14,1500,25.25,1234.50,\r\n" + start +
                "Trailer limit,,,,,,,44000,3800,,\r\n" + start + "Fill (%),,,,,,,3,1,,\r\n");
}

}  // namespace
}  // namespace tarvine::test
