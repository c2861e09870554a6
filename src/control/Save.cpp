// The Save button: changed rows become update and history statements sent in one request.

#include "control/TarvineOrderPick.h"
#include "load/OrderReader.h"
#include "platform/Convert.h"
#include "service/Requests.h"

namespace tarvine {

void TarvineOrderPick::cmdSave_Click() {
  trap("cmdSave_Click()", [&] {
    ListView& list = w_.lvwOrderIDs;
    // The row-count overflow check: a list of more than 32,767 rows stops the save here (error
    // 6) before anything is read or sent. The converted count itself is not needed.
    convert::roundToInt16(static_cast<double>(list.rowCount()));
    const SaveContext context{OutgoingLoadID, SelectedCenterID, PersonID, PersonTypeID};
    SaveStatements save = saveStatements(changedRows(list), context);

    if (!save.written.empty()) {
      // Nothing is sent when the check read failed or was cancelled, or the user keeps the
      // changes unsaved: every check, change mark and override stays on screen.
      const std::optional<OrderArray> now = ordersBeforeSaving(save.written);
      if (!now) return;
      appendHistory(save, context, onLoadNow(*now, save.written));
      service::Exchange outcome;
      UpdateOutgoingLoadOrder(save.statements, &outcome);
      // A save the back office did not take is never reported as done (the transport told the
      // user why), and the picks stay on screen so that the user can save again.
      if (!outcome.answered()) return;
      dialogs_.messageBox("Outgoing load information has been updated successfully!!!",
                          kMsgInformationOk, std::string("Outgoing Load Save"));
      PopulateAllOrders(Orders, OrdersRead::AfterSave);
    }
    FillingList = true;
    cboCenter_Click();
    FillingList = false;
  });
}

std::optional<OrderArray> TarvineOrderPick::ordersBeforeSaving(
    const std::vector<WrittenSegment>& written) {
  service::Exchange exchange = readAllOrders(OrdersRead::SaveCheck);
  // The transport has told the user why the read did not answer, unless the user cancelled it.
  if (!exchange.answered()) return std::nullopt;
  OrderArray now;
  if (!readOrderRecords(std::move(exchange.result), now)) {
    throw RuntimeError(static_cast<std::int32_t>(exchange.httpStatus),
                       "The GetOutgoingLoadAllOrders reply read before saving holds no data set; "
                       "nothing was saved");
  }
  const std::vector<std::string> changes = changesSinceLoaded(Orders, loadedState_, now, written);
  if (!changes.empty()) {
    confirmSave(dialogs_, saveOverQuestion(changes), "TarvineOrderPick", kSaveOverQuestion);
  }
  return now;
}

void TarvineOrderPick::UpdateOutgoingLoadOrder(const std::vector<std::string>& statements,
                                               service::Exchange* outcome) {
  if (statements.size() <= 1) return;
  // The request in the form the transport sends, made in one pass; statements the parse would
  // refuse go the transport's own way, which reports them.
  std::optional<std::string> written = service::writtenUpdateOutgoingLoadOrderRequest(statements);
  const service::EnvelopeForm form =
      written ? service::EnvelopeForm::Written : service::EnvelopeForm::Built;
  EnvelopeText =
      written ? std::move(*written) : service::UpdateOutgoingLoadOrderEnvelope(statements);
  service::Exchange exchange =
      callRouteService("UpdateOutgoingLoadOrder", EnvelopeText, true, form);
  EnvelopeText.clear();
  RequestBodyXML.clear();
  if (outcome) *outcome = std::move(exchange);
}

UnsavedChanges TarvineOrderPick::unsavedChanges() const {
  return unsavedChangesOf(changedRows(w_.lvwOrderIDs));
}

}  // namespace tarvine
