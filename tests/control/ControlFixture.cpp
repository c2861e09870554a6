#include "ControlFixture.h"
#include "DemoHost.h"

namespace tarvine::test {

ReplyRow orderRow(const std::string& orderID, int segment, const std::string& outgoingLoad,
                  const std::string& freight, int cartons, int totalWeight,
                  std::vector<std::pair<std::string, std::string>> extra) {
  ReplyRow row = {{"OrderID", orderID},
                  {"VOZA_OrderSegment", std::to_string(segment)},
                  {"LoadDate", "2026-11-30T00:00:00-05:00"},
                  {"NumberParcels", std::to_string(cartons)},
                  {"FactoryWeight", "100"},
                  {"CubicFeet", "12.5"},
                  {"FreightCost", "0"},
                  {"OutgoingLoad", outgoingLoad},
                  {"Freight", freight},
                  {"CenterID", orderID.substr(0, orderID.find('-'))},
                  {"MinimumCharge", "25"},
                  {"TotalFactoryWeight", std::to_string(totalWeight)},
                  {"TotalRate", "1.5"},
                  {"TotalSuggestedFreight", "80"},
                  {"HighPriorityIndicator", "false"},
                  {"OverrideFreightIndicator", "false"}};
  for (auto& [name, value] : extra) {
    bool replaced = false;
    for (auto& column : row) {
      if (column.first == name) {
        column.second = value;
        replaced = true;
      }
    }
    if (!replaced) row.emplace_back(name, value);
  }
  return row;
}

ControlTest::ControlTest() {
  control.setTimeouts({std::chrono::milliseconds(2000), std::chrono::milliseconds(5000)});
  pointAtDemo(control, service.server());
}

void ControlTest::serveExampleLoad() {
  service.setRows("GetOutgoingLoadCenterIDAndCenter",
                  {{{"CenterID", "12"}, {"CenterName", "North"}},
                   {{"CenterID", "15"}, {"CenterName", "South"}}});
  service.setRows("GetOutgoingLoadDescriptionRoute",
                  {{{"Description", "Lakes run"}, {"Route", "R7"}}});
  service.setRows("GetOutgoingLoadBasicTotal", {{{"SumCubicFeet", "40"},
                                                 {"SumFreight", "1234.5"},
                                                 {"SumParcels", "12"},
                                                 {"SumWeight", "2500"}}});
  service.setRows(
      "GetOutgoingLoadAllOrders",
      {orderRow("12-100", 1, "0", "125.5", 10, 1500), orderRow("12-100", 2, "0", "0", 4, 1500),
       orderRow("12-100", 3, "0", "0", 6, 1500),
       orderRow("12-200", 1, "0", "40", 3, 300, {{"HighPriorityIndicator", "true"}}),
       orderRow("15-300", 1, "5001", "1234.5", 8, 2000),
       orderRow("15-400", 1, "0", "NoRate", 5, 700)});
}

void ControlTest::openExampleLoad() {
  serveExampleLoad();
  control.PutTarvineID(5001);
  service.clearRequests();
  dialogs.clearShown();
}

std::vector<std::string> ControlTest::rowTexts() const {
  std::vector<std::string> texts;
  for (RowId row : list().order()) texts.push_back(list().row(row).text);
  return texts;
}

const std::string& ControlTest::cell(std::size_t position, int subItem) const {
  return list().subItem(list().rowAt(position), subItem);
}

bool ControlTest::checkedAt(std::size_t position) const {
  return list().row(list().rowAt(position)).checked;
}

std::vector<std::string> ControlTest::totals() const {
  const ControlWidgets& w = control.widgets();
  return {w.lblTotal4.caption(), w.lblTotal5.caption(), w.lblTotal6.caption()};
}

std::vector<std::string> ControlTest::messagePrompts() const {
  std::vector<std::string> prompts;
  for (const MessageBoxShown& shown : dialogs.messages()) prompts.push_back(shown.prompt);
  return prompts;
}

}  // namespace tarvine::test
