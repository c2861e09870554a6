// The Save button: changed rows become update and history statements sent in one request.

#include "control/TarvineOrderPick.h"
#include "load/OrderReader.h"
#include "platform/Convert.h"
#include "save/SaveCheck.h"
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
  saveChangedRows(true);
}

void TarvineOrderPick::saveChangedRows(bool checkFirst) {
  trap("cmdSave_Click()", [&] {
    ListView& list = w_.lvwOrderIDs;
    std::vector<ChangedRow> ChangedRows(1);
    std::vector<std::string> Statements(1);
    std::vector<WrittenSegment> written;
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
      written.push_back(WrittenSegment{item.text, changed.Segment, item.checked,
                                       convert::parseNumber(plainFreight(list.subItem(row, 6)))});
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
      // Nothing is sent when the check read failed or the user keeps the changes unsaved:
      // every check, change mark and override stays on screen.
      if (checkFirst && !saveOverChangesAllowed(written)) return;
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

bool TarvineOrderPick::saveOverChangesAllowed(const std::vector<WrittenSegment>& written) {
  service::Exchange exchange = readAllOrders();
  // The transport has told the user why the read did not answer.
  if (!exchange.answered()) return false;
  OrderArray now;
  if (!readOrderRecords(std::move(exchange.result), now)) {
    throw RuntimeError(static_cast<std::int32_t>(exchange.httpStatus),
                       "The GetOutgoingLoadAllOrders reply read before saving holds no data set; "
                       "nothing was saved");
  }
  const std::vector<std::string> changes = changesSinceLoaded(Orders, loadedState_, now, written);
  if (changes.empty()) return true;
  return dialogs_.messageBox(saveOverQuestion(changes), kMsgWarningYesNo,
                             std::string("TarvineOrderPick")) == kMsgResultYes;
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
