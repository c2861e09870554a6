// Choosing a center and Select All.

#include "control/TarvineOrderPick.h"
#include "platform/Convert.h"
#include "service/Requests.h"

namespace tarvine {

void TarvineOrderPick::cboCenter_Click() {
  trap("cboCenter_Click()", [this] {
    centerIndexShown_ = w_.cboCenter.listIndex();
    w_.lvwOrderIDs.clear();
    const std::int16_t loadID = convert::roundToInt16(OutgoingLoadID);
    // The list is cleared already: this read runs to its end even after a cancel.
    BasicTotalXML = queryRouteService("GetOutgoingLoadBasicTotal",
                                      service::GetOutgoingLoadBasicTotalRequest(loadID), false)
                        .result;
    ClearTotals();
    const int selected = w_.cboCenter.listIndex();
    if (selected == -1) return;
    SelectedCenterID = w_.cboCenter.itemData(selected);
    if (selected == 0) {
      LoadAllOrders();
    } else {
      LoadOrdersByCenterID(convert::roundToInt16(SelectedCenterID));
    }
  });
}

void TarvineOrderPick::ClearTotals() {
  Label* totals[] = {&w_.lblTotal4, &w_.lblTotal5, &w_.lblTotal6};
  for (LoopIndex = 4; LoopIndex <= 6; ++LoopIndex) totals[LoopIndex - 4]->setCaption("");
  ListView& list = w_.lvwOrderIDs;
  for (RowId row : list.order()) list.setSubItem(row, 1, "");
}

void TarvineOrderPick::chkSellectAll_Click() {
  trap("chkSellectAll_Click()", [this] {
    if (FillingList) return;
    ListView& list = w_.lvwOrderIDs;
    // Only the value 1 counts as checked; grey counts as unchecked.
    if (w_.chkSellectAll.value() != 1) {
      for (RowId row : list.order()) {
        list.setChecked(row, false);
        list.setSubItem(row, 7, "1");
        list.setSubItem(row, 1, "");
      }
      w_.lblTotal4.setCaption("0");
      w_.lblTotal5.setCaption("0.00");
      w_.lblTotal6.setCaption("0.00");
      return;
    }
    PickTotals totals;
    for (RowId row : list.order()) {
      list.setChecked(row, true);
      totals.add(list.row(row));
      list.setSubItem(row, 7, "1");
      list.setSubItem(row, 1, "X");
    }
    showTotals(totals);
  });
}

void TarvineOrderPick::showTotals(const PickTotals& totals) {
  const TotalsCaptions captions = totals.captions();
  w_.lblTotal4.setCaption(captions.cartons);
  w_.lblTotal5.setCaption(captions.weight);
  w_.lblTotal6.setCaption(captions.freight);
}

}  // namespace tarvine
