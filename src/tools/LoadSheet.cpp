#include "tools/LoadSheet.h"

#include <ctime>
#include <unordered_map>

#include "platform/Convert.h"
#include "tools/PickedRows.h"

namespace tarvine::tools {
namespace {

// The separator between a center's name and its id in the center box's entries.
constexpr std::string_view kEntryIdStart = "  [ ";

SheetFigures figuresOf(const PickTotals& totals, double cube, std::size_t segments) {
  return {segments, static_cast<double>(totals.cartons()), totals.weight(), cube, totals.freight()};
}

// Adds up the checked rows of one group the way the total captions do.
struct GroupSums {
  PickTotals totals;
  double cube = 0;
  std::size_t segments = 0;
};

std::string centerIdOfRow(const OrderPick& control, RowId row) {
  if (const AllOrdersUDT* record = control.recordOfRow(row)) {
    return convert::integerText(record->CenterID);
  }
  const std::string& order = control.widgets().lvwOrderIDs.row(row).text;
  return order.substr(0, order.find('-'));
}

}  // namespace

LoadSheet buildLoadSheet(const OrderPick& control, std::string printed,
                         std::optional<TrailerLimits> limits) {
  const ControlWidgets& w = control.widgets();
  LoadSheet sheet;
  sheet.manifest = w.lblTarvineID.caption();
  sheet.route = w.lblRoute.caption();
  sheet.printed = std::move(printed);
  sheet.person = convert::integerText(control.personID()) + " (type " +
                 convert::integerText(control.personTypeID()) + ")";
  sheet.limits = limits;

  // One group per center of the box, in its order; they are kept only when something is picked.
  std::unordered_map<std::string, std::size_t> groupOf;
  const auto& entries = w.cboCenter.entries();
  for (std::size_t i = 1; i < entries.size(); ++i) {
    const std::string id = convert::integerText(entries[i].itemData);
    if (groupOf.contains(id)) continue;
    groupOf.emplace(id, sheet.centers.size());
    sheet.centers.push_back(
        {id, entries[i].text.substr(0, entries[i].text.find(kEntryIdStart)), {}, {}});
  }
  std::vector<GroupSums> sums(sheet.centers.size());
  GroupSums load;

  const ListView& list = w.lvwOrderIDs;
  for (RowId row : list.order()) {
    const ListRow& item = list.row(row);
    if (!item.checked) continue;
    const std::string center = centerIdOfRow(control, row);
    auto [found, added] = groupOf.emplace(center, sheet.centers.size());
    if (added) {
      sheet.centers.push_back({center, {}, {}, {}});
      sums.emplace_back();
    }
    const double cube = cubeOfRow(control, row);
    sheet.centers[found->second].lines.push_back(
        {item.text, list.subItem(row, 2), list.subItem(row, 3),
         convert::toDouble(list.subItem(row, 4)), convert::toDouble(list.subItem(row, 5)), cube,
         convert::toDouble(list.subItem(row, 6)), list.subItem(row, 8) == "X"});
    for (GroupSums* group : {&sums[found->second], &load}) {
      group->totals.add(item);
      group->cube += cube;
      ++group->segments;
    }
  }

  std::vector<SheetCenter> kept;
  for (std::size_t i = 0; i < sheet.centers.size(); ++i) {
    if (sheet.centers[i].lines.empty()) continue;
    sheet.centers[i].subtotal = figuresOf(sums[i].totals, sums[i].cube, sums[i].segments);
    kept.push_back(std::move(sheet.centers[i]));
  }
  sheet.centers = std::move(kept);
  sheet.totals = figuresOf(load.totals, load.cube, load.segments);
  return sheet;
}

std::string printedNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%m/%d/%Y %H:%M", &local);
  return text;
}

std::string centerHeading(const SheetCenter& center) {
  return "Center " + center.id + (center.name.empty() ? "" : " " + center.name);
}

}  // namespace tarvine::tools
