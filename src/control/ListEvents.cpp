// What the dispatcher does on the list: check a P.O., override its freight, sort.

#include "control/TarvineOrderPick.h"
#include "picking/RowShow.h"
#include "platform/Convert.h"

namespace tarvine {
namespace {

constexpr const char* kFreightNotNumeric =
    "Freight must be a numeric value. Please enter in a number.";

}  // namespace

void TarvineOrderPick::lvwOrderIDs_ItemCheck(RowId item) {
  const bool finished = trap("lvwOrderIDs_ItemCheck()", [&] {
    ListView& list = w_.lvwOrderIDs;
    // Copied: the rows of the P.O. are changed while it is compared.
    const std::string order = list.row(item).text;
    const bool checked = list.row(item).checked;
    PickTotals totals;
    for (RowId row : list.order()) {
      if (list.row(row).text == order) {
        list.setChecked(row, checked);
        if (checked) totals.add(list.row(row));
        list.setSubItem(row, 1, checked ? "X" : "");
        list.setSubItem(row, 7, "1");
      } else if (list.row(row).checked) {
        totals.add(list.row(row));
      }
    }
    showTotals(totals);
  });
  // After an error the labels show the service's totals of the load instead.
  if (!finished) LoadBasicTotal(BasicTotalXML);
}

void TarvineOrderPick::lvwOrderIDs_DblClick() {
  ListView& list = w_.lvwOrderIDs;
  const std::optional<RowId> selected = list.selected();
  if (!selected) return;
  const RowId row = *selected;
  const std::string freight = list.subItem(row, 6);
  if (list.subItem(row, 10) == "False" && list.subItem(row, 8) != "X" && freight == "0.00") {
    dialogs_.messageBox("Please select P.O's first segment line to update freight",
                        kMsgInformationOk, std::nullopt);
    return;
  }
  std::string answer =
      dialogs_
          .inputBox("Please enter the new Freight to for P.O " + list.row(row).text,
                    "Outgoing Load", freight)
          .value_or("");
  if (answer.empty()) answer = freight;
  // An answer that is not a number changes nothing: row, record, marks and totals stay.
  if (!convert::isNumeric(answer)) {
    dialogs_.messageBox(kFreightNotNumeric, kMsgInformationOk, std::nullopt);
    return;
  }
  const double amount = convert::toDouble(answer);
  if (convert::toDouble(freight) != amount)
    list.setSubItem(row, 6, convert::formatStandard(amount));
  const std::int16_t index = recordIndexOf(list.row(row).tag);
  if (index < 0 || static_cast<std::size_t>(index) >= Orders.size()) {
    throw RuntimeError(9, "Subscript out of range");
  }
  Orders[static_cast<std::size_t>(index)].Freight = convert::toDouble(list.subItem(row, 6));
  lvwOrderIDs_ItemCheck(row);
}

void TarvineOrderPick::lvwOrderIDs_ColumnClick(int column) {
  trap("lvwOrderIDs_ColumnClick()", [&] {
    ListView& list = w_.lvwOrderIDs;
    list.setSortKey(column - 1);
    list.setSorted(true);
    const double width = list.width();
    list.setColumnWidth(1, static_cast<float>(width) / 6.0f);
    list.setColumnWidth(2, 300);
    list.setColumnWidth(3, width / 9.5);
    for (LoopIndex = 4; LoopIndex <= 6; ++LoopIndex) list.setColumnWidth(LoopIndex, width / 7.3);
  });
}

void TarvineOrderPick::lvwOrderIDs_ItemClick(RowId) {}

}  // namespace tarvine
