#include "tools/LoadSheet.h"

#include <algorithm>
#include <ctime>
#include <unordered_map>

#include "platform/Convert.h"
#include "tools/LoadFigures.h"

namespace tarvine::tools {
namespace {

// The separator between a center's name and its id in the center box's entries.
constexpr std::string_view kEntryIdStart = "  [ ";

// The segments of one center, P.O. by P.O., as record indexes.
struct CenterRecords {
  std::vector<std::vector<std::size_t>> orders;
  std::unordered_map<std::string, std::size_t> orderIndex;
};

void add(SheetFigures& sums, const SheetLine& line) {
  ++sums.segments;
  sums.cartons += line.cartons;
  sums.weight += line.weight;
  sums.cube += line.cube;
  if (line.freight != -1) sums.freight += line.freight;
}

}  // namespace

std::optional<std::string> sheetRefusal(const OrderPick& control) {
  const std::string& manifest = control.widgets().lblTarvineID.caption();
  if (manifest.empty()) return "no load is shown";
  const std::vector<bool> onLoad = onThisLoadAsRead(control);
  if (std::find(onLoad.begin(), onLoad.end(), true) == onLoad.end()) {
    return "load " + manifest + " has no segments on it";
  }
  return std::nullopt;
}

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
  sheet.unsavedOrders = control.unsavedChanges().orders.size();

  // One group per center of the box, in its order; they are kept only when a segment is on it.
  std::unordered_map<std::string, std::size_t> groupOf;
  const auto& entries = w.cboCenter.entries();
  for (std::size_t i = 1; i < entries.size(); ++i) {
    const std::string id = convert::integerText(entries[i].itemData);
    if (!groupOf.emplace(id, sheet.centers.size()).second) continue;
    sheet.centers.push_back(
        {id, entries[i].text.substr(0, entries[i].text.find(kEntryIdStart)), {}, {}});
  }
  std::vector<CenterRecords> groups(sheet.centers.size());

  const OrderArray& records = control.orders();
  const std::vector<bool> onLoad = onThisLoadAsRead(control);
  std::unordered_map<std::string, std::size_t> firstRecordOf;
  for (std::size_t i = 0; i < onLoad.size(); ++i) {
    const AllOrdersUDT& record = records[i];
    firstRecordOf.emplace(record.OrderID, i);
    if (!onLoad[i]) continue;
    const std::string center = convert::integerText(record.CenterID);
    const auto [group, added] = groupOf.emplace(center, sheet.centers.size());
    if (added) {
      sheet.centers.push_back({center, {}, {}, {}});
      groups.emplace_back();
    }
    CenterRecords& segments = groups[group->second];
    const auto [order, first] = segments.orderIndex.emplace(record.OrderID, segments.orders.size());
    if (first) segments.orders.emplace_back();
    segments.orders[order->second].push_back(i);
  }

  const std::vector<RecordAsRead>& asRead = control.ordersAsRead();
  std::vector<SheetCenter> kept;
  for (std::size_t g = 0; g < sheet.centers.size(); ++g) {
    SheetCenter& center = sheet.centers[g];
    for (std::vector<std::size_t>& order : groups[g].orders) {
      std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return records[a].Segment < records[b].Segment;
      });
      for (std::size_t i : order) {
        const AllOrdersUDT& record = records[i];
        const FillFigures own = segmentFigures(record);
        const bool carriesFreight = firstRecordOf.at(record.OrderID) == i;
        center.lines.push_back({record.OrderID, convert::integerText(record.Segment),
                                record.Received, own.cartons, own.weight, own.cube,
                                carriesFreight ? asRead[i].freight : 0, record.HotItem == 1});
        add(center.subtotal, center.lines.back());
        add(sheet.totals, center.lines.back());
      }
    }
    if (!center.lines.empty()) kept.push_back(std::move(center));
  }
  sheet.centers = std::move(kept);
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

std::string unsavedNote(const LoadSheet& sheet) {
  if (sheet.unsavedOrders == 0) return {};
  return "Unsaved changes on screen are not on this sheet: " +
         convert::integerText(static_cast<std::int64_t>(sheet.unsavedOrders));
}

}  // namespace tarvine::tools
