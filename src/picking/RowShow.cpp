#include "picking/RowShow.h"

#include "load/OrderReader.h"
#include "platform/Convert.h"

namespace tarvine {

bool OrderExist(const std::unordered_set<std::string>& shownOrderIDs, const std::string& orderID) {
  return shownOrderIDs.contains(orderID);
}

ListRow shownRow(const AllOrdersUDT& record, bool firstOfOrder) {
  ListRow row;
  row.text = record.OrderID;
  row.checked = record.Checked;
  row.tag = std::string(record.Checked ? "Checked;" : "UnChecked;") +
            convert::integerText(record.IndexValue);
  if (record.Checked) {
    row.color = kColorBlue;
  } else if (record.HotItem == 1) {
    row.color = kColorRed;
  }
  row.sub = {record.Checked ? "X" : "",
             convert::integerText(record.Segment),
             record.Received,
             convert::integerText(record.Cartons),
             firstOfOrder ? convert::integerText(record.TotalFactoryWeight) : "0",
             firstOfOrder ? freightText(record.Freight) : "0.00",
             "0",
             record.HotItem == 1 ? "X" : "",
             record.OverrideFreight == 1 ? "X" : "",
             record.NoRate ? "True" : "False"};
  return row;
}

std::int16_t recordIndexOf(const std::string& tag) {
  const auto semicolon = tag.find(';');
  return convert::toInt16(semicolon == std::string::npos
                              ? std::string_view{}
                              : std::string_view(tag).substr(semicolon + 1));
}

}  // namespace tarvine
