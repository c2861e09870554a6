// The Save button: changed rows become update and history statements sent in one request.

#include "control/TarvineOrderPick.h"
#include "platform/Convert.h"
#include "save/Statements.h"
#include "service/Requests.h"

namespace tarvine {
namespace {

struct ChangedRow {
  bool Checked = false;
  std::string LoadedState;
  std::string OrderID;
  std::int16_t Segment = 0;
};

}  // namespace

void TarvineOrderPick::cmdSave_Click() {
  trap("cmdSave_Click()", [this] {
    ListView& list = w_.lvwOrderIDs;
    std::vector<ChangedRow> ChangedRows(1);
    std::vector<std::string> Statements(1);
    convert::roundToInt16(static_cast<double>(list.rowCount()));

    for (RowId row : list.order()) {
      if (list.subItem(row, 7) != "1") continue;
      const ListRow& item = list.row(row);
      ChangedRow& changed = ChangedRows.back();
      changed.LoadedState = item.tag.substr(0, item.tag.find(';'));
      changed.Checked = item.checked;
      changed.OrderID = item.text;
      changed.Segment = convert::toInt16(list.subItem(row, 2));
      const std::int32_t centerID =
          SelectedCenterID != 0 ? SelectedCenterID : centerIDOfOrder(item.text);
      SaveSQL = updateStatement(item.checked, OutgoingLoadID, list.subItem(row, 6), centerID,
                                item.text, list.subItem(row, 2));
      Statements.back() = SaveSQL;
      Statements.emplace_back();
      ChangedRows.emplace_back();
    }
    for (std::size_t i = 0; i + 1 < ChangedRows.size(); ++i) {
      const ChangedRow& changed = ChangedRows[i];
      int code = 0;
      if (changed.LoadedState == "UnChecked" && changed.Checked) code = 2;
      if (changed.LoadedState == "Checked" && !changed.Checked) code = 5;
      if (code == 0) continue;
      Statements.back() =
          historyStatement(code, changed.OrderID, changed.Segment, PersonID, PersonTypeID);
      Statements.emplace_back();
    }

    if (!Statements.front().empty()) {
      service::Exchange outcome;
      UpdateOutgoingLoadOrder(Statements, &outcome);
      // A save the back office did not take is never reported as done (the transport told the
      // user why), and the picks stay on screen so that the user can save again.
      if (!outcome.answered()) return;
      dialogs_.messageBox("Outgoing load information has been updated successfully!!!",
                          kMsgInformationOk, std::string("Outgoing Load Save"));
      PopulateAllOrders(Orders);
    }
    FillingList = true;
    cboCenter_Click();
    FillingList = false;
  });
}

void TarvineOrderPick::UpdateOutgoingLoadOrder(const std::vector<std::string>& statements,
                                               service::Exchange* outcome) {
  if (statements.size() <= 1) return;
  EnvelopeText = service::UpdateOutgoingLoadOrderEnvelope(statements);
  service::Exchange exchange = callRouteService("UpdateOutgoingLoadOrder", EnvelopeText, true);
  EnvelopeText.clear();
  RequestBodyXML.clear();
  if (outcome) *outcome = std::move(exchange);
}

}  // namespace tarvine
